// Several programs on one server database at once.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "Database.h"
#include "EngineError.h"
#include "EngineSupport.h"
#include "Samples.h"

namespace {

using testing_support::QueryValue;

class ManyUsers : public ::testing::Test {
  protected:
    void SetUp() override {
        // A file's savers meet on its lock: bench/two_savers shows them.
        if (!testing_support::OnServer()) GTEST_SKIP() << "a server's sessions only";
        db = testing_support::EmptyDatabase(dir.file("m.db"));
    }
    static store::Sample Entry(int n) {
        store::Sample s;
        s.project = "8";
        s.start = platform::DateTime{2004, 1, 1 + n % 28, 9, 0, 0};
        return s;
    }
    testing_support::TempDir dir;
    std::shared_ptr<platform::Database> db;
};

TEST_F(ManyUsers, SimultaneousSavesEachGetACodeOfTheirOwn) {
    std::atomic<int> failures{0};
    std::vector<std::thread> savers;
    for (int saver = 0; saver < 4; ++saver)
        savers.emplace_back([&] {
            auto own = platform::Database::OpenDatabase(db->Name());
            store::Samples samples(*own);
            for (int n = 0; n < 20; ++n) {
                try {
                    samples.Add(Entry(n));
                } catch (const platform::EngineError&) {
                    ++failures;
                }
            }
        });
    for (auto& t : savers) t.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(QueryValue(*db, "select count(distinct sample_code) from tblsample"), "80");
}

TEST_F(ManyUsers, ASaveOnALostConnectionSaysSoAndTheNextOneReconnects) {
    store::Samples samples(*db);
    samples.Add(Entry(1));
    // The server ends the session, as a restart does.
    const std::string session = QueryValue(*db, "select pg_backend_pid()");
    platform::Database::OpenDatabase(db->Name())
        ->ExecuteNative("select pg_terminate_backend(" + session + ")");
    EXPECT_EQ(testing_support::ErrorNumber([&] { samples.Add(Entry(2)); }),
              platform::err::ConnectionLost);
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(samples.Add(Entry(3)).code, 2);
    EXPECT_EQ(QueryValue(*db, "select count(*) from tblsample"), "2");
}

}  // namespace
