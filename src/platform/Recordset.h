#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Variant.h"

namespace platform {

class Database;
class Recordset;

// Fields(name) of a recordset: read with Value(), write with = between AddNew/Edit
// and Update.
class Field {
  public:
    Field(Recordset& rs, int index) : rs_(rs), index_(index) {}
    Variant Value() const;
    Field& operator=(const Variant& v);
    const std::string& Name() const;

  private:
    Recordset& rs_;
    int index_;
};

// A cursor over the rows of a query. Reads lazily: opening prepares the statement and
// steps to the first row; moving on steps further; rows already visited are kept so
// MovePrevious works. A recordset over one table is updatable and remembers each
// row's identity, so Edit/Update/Delete hit exactly that row.
class Recordset {
  public:
    class Impl;
    explicit Recordset(std::unique_ptr<Impl> impl);
    ~Recordset();

    // Names match without regard to case; in a join "table.column" also works.
    // An unknown name throws EngineError 3265 ("Item not found in this collection.").
    Field Fields(std::string_view name);
    Field Fields(int index);
    int FieldCount() const;
    const std::string& FieldName(int index) const;
    Variant Value(int index) const;

    void AddNew();
    void Edit();
    // Writes the pending row. Values are converted to the column's declared type;
    // a text that does not convert throws 3421 "Data type conversion error." and
    // leaves nothing written (the pending row stays pending until CancelUpdate).
    void Update();
    void CancelUpdate();
    // Deletes the current row; the cursor stays on it (no current record) until moved.
    void Delete();

    void MoveFirst();  // throws 3021 on an empty set
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    bool Eof() const;
    bool Bof() const;
    bool Updatable() const;
    void Close();
    bool IsOpen() const;

    // For the engine's own use.
    Impl& impl() { return *impl_; }
    int FieldIndex(std::string_view name) const;
    void SetFieldValue(int index, const Variant& v);

  private:
    std::unique_ptr<Impl> impl_;
};

// The set a recordset variable holds. An empty or closed one is the classic error "Object
// invalid or no longer set.", which a step through a found set reports as its own message.
Recordset& OpenSet(const std::unique_ptr<Recordset>& rs);

// Reads the remaining rows of every recordset still reading from its database. An open
// statement holds a read lock on the file, which would keep other programs from saving
// while a found set waits between two clicks; the event guard calls this after each event.
void FinishPendingReads();

}  // namespace platform
