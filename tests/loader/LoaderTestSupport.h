// Shared fixture of the data window's tests: a demo (or empty) data file, scripted
// dialogs, the window loaded on it, and small readers for lists and tables.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "Connection.h"
#include "Conversions.h"
#include "Database.h"
#include "DateTime.h"
#include "DemoData.h"
#include "LookupLists.h"
#include "TestSupport.h"
#include "frmDataLoader.h"

using testing_support::QueryValue;

namespace loader_test {

inline std::vector<std::string> Entries(const controls::ComboBox& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.ListCount(); ++i) out.push_back(list.List(i));
    return out;
}

inline std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

// Selects the entry added with the code (codes may hold '-'); false when absent.
inline bool Pick(controls::ComboBox& list, const std::string& code) {
    return loader::SelectEntryOfCode(list, code);
}

inline long long SecondsApart(const platform::DateTime& a, const platform::DateTime& b) {
    return std::llabs(a.serialSeconds() - b.serialSeconds());
}

class LoaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialogs = testing_support::ScriptDialogs();
        db = demo() ? store::CreateDemoDatabase(path()) : testing_support::EmptyDatabase(path());
        store::setDb(db);
    }
    void TearDown() override {
        form.reset();
        testing_support::ResetProgram();
    }
    virtual bool demo() const { return true; }
    std::string path() const { return dir.file("water.db"); }

    // The window as the menu opens it; the prompts of loading are dropped.
    loader::frmDataLoader& Open() {
        form = std::make_unique<loader::frmDataLoader>();
        form->Form_Load();
        dialogs->clear();
        return *form;
    }

    testing_support::TempDir dir;
    std::shared_ptr<platform::Database> db;
    std::shared_ptr<controls::ScriptedDialogs> dialogs;
    std::unique_ptr<loader::frmDataLoader> form;
};

}  // namespace loader_test
