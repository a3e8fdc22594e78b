#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "BusyWait.h"
#include "EngineError.h"
#include "EngineSupport.h"

using namespace platform;
using namespace std::chrono_literals;
using testing_support::QueryValue;
using testing_support::TempDir;

namespace {

// The wait as shown: a step per pause, answered by `onStep` (false cancels).
struct ScriptedWait : ProgressReporter {
    ScriptedWait(int& steps, bool& open, std::function<bool(int)> onStep)
        : steps(steps), open(open), onStep(std::move(onStep)) {
        open = true;
    }
    ~ScriptedWait() override { open = false; }
    bool Step(long long) override { return onStep(++steps); }
    int& steps;
    bool& open;
    std::function<bool(int)> onStep;
};

class BusyWaitTest : public ::testing::Test {
  protected:
    void TearDown() override {
        SetBusyDisplay(nullptr);
        SetBusyLimit(kDefaultBusyLimit);
    }
    TempDir dir;
    std::shared_ptr<Database> db = dir.NewDatabase("create table t (n integer);");
    // Another program's connection to the same file.
    std::shared_ptr<Database> other = Database::OpenDatabase(dir.file("test.db"));
};

TEST_F(BusyWaitTest, AnActionWaitsForTheLockAndFailsOnlyAtTheLimitOrCancel) {
    enum Action { Read, Save };
    struct Case {
        const char* name;
        const char* held;  // what the other program holds
        Action action;
        int releaseAt;  // the pause at which the other program lets go; 0 never
        bool cancel;    // the user cancels at the first pause
        const char* failure;
    };
    const char* busy = "The data file is busy: another program is using it.";
    const Case cases[] = {
        {"read, file written meanwhile", "BEGIN EXCLUSIVE", Read, 3, false, ""},
        {"save, file read meanwhile", "BEGIN; select * from t", Save, 3, false, ""},
        {"save, file saved meanwhile", "BEGIN IMMEDIATE", Save, 3, false, ""},
        {"read past the limit", "BEGIN EXCLUSIVE", Read, 0, false, busy},
        {"save cancelled", "BEGIN IMMEDIATE", Save, 0, true,
         "The data file is busy: another program is using it. The wait was cancelled."},
    };
    for (const auto& c : cases) {
        SetBusyLimit(c.cancel ? 20s : 100ms);
        int shown = 0, steps = 0;
        bool open = false;
        SetBusyDisplay([&](long long) {
            ++shown;
            return std::make_unique<ScriptedWait>(steps, open, [&](int step) {
                if (step == c.releaseAt) other->ExecuteNative("ROLLBACK");
                return !c.cancel;
            });
        });
        other->ExecuteNative(c.held);
        std::string failure;
        const auto start = std::chrono::steady_clock::now();
        try {
            if (c.action == Read) {
                QueryValue(*db, "select count(*) from t");
            } else {
                db->BeginTrans();
                db->Execute("insert into t values (?)", {1});
                db->CommitTrans();
            }
        } catch (const EngineError& e) {
            failure = e.Description();
            EXPECT_EQ(e.Number(), err::Locked) << c.name;
            if (db->InTransaction()) db->Rollback();
        }
        if (other->InTransaction()) other->ExecuteNative("ROLLBACK");
        EXPECT_EQ(failure, c.failure) << c.name;
        EXPECT_EQ(shown, 1) << c.name;
        EXPECT_FALSE(open) << c.name;
        if (c.releaseAt) {
            EXPECT_EQ(steps, c.releaseAt) << c.name;
        }
        if (c.cancel) {
            EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << c.name;
        }
    }
    EXPECT_EQ(QueryValue(*db, "select count(*) from t"), "2");
}

}  // namespace
