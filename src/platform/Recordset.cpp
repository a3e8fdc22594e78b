#include "Recordset.h"

#include "RecordsetImpl.h"

namespace platform {

Variant Field::Value() const { return rs_.Value(index_); }

Field& Field::operator=(const Variant& v) {
    rs_.SetFieldValue(index_, v);
    return *this;
}

const std::string& Field::Name() const { return rs_.FieldName(index_); }

Recordset::Recordset(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Recordset::~Recordset() = default;

Field Recordset::Fields(std::string_view name) { return Field(*this, impl_->fieldIndex(name)); }

Field Recordset::Fields(int index) {
    impl_->fieldName(index);  // checks the index
    return Field(*this, index);
}

int Recordset::FieldCount() const { return impl_->fieldCount(); }
const std::string& Recordset::FieldName(int index) const { return impl_->fieldName(index); }
Variant Recordset::Value(int index) const { return impl_->value(index); }
int Recordset::FieldIndex(std::string_view name) const { return impl_->fieldIndex(name); }
void Recordset::SetFieldValue(int index, const Variant& v) { impl_->setValue(index, v); }

void Recordset::AddNew() { impl_->addNew(); }
void Recordset::Edit() { impl_->edit(); }
void Recordset::Update() { impl_->update(); }
void Recordset::CancelUpdate() { impl_->cancelUpdate(); }
void Recordset::Delete() { impl_->remove(); }

void Recordset::MoveFirst() { impl_->moveFirst(); }
void Recordset::MoveNext() { impl_->moveNext(); }
void Recordset::MovePrevious() { impl_->movePrevious(); }
void Recordset::MoveLast() { impl_->moveLast(); }
bool Recordset::Eof() const { return impl_->eof(); }
bool Recordset::Bof() const { return impl_->bof(); }
bool Recordset::Updatable() const { return impl_->updatable(); }
void Recordset::Close() { impl_->close(); }
bool Recordset::IsOpen() const { return impl_->isOpen(); }

}  // namespace platform
