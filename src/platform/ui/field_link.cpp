#include "platform/ui/field_link.h"

namespace pag {

FieldLink::FieldLink(std::function<void()> load, std::function<void()> write)
    : load_(std::move(load)), write_(std::move(write)) {}

FieldLink::~FieldLink() {
    unregisterEditor();
}

void FieldLink::Bind(DataSource* source, std::string fieldName) {
    unregisterEditor();
    modified_ = false;
    source_ = source;
    fieldName_ = std::move(fieldName);
    conn_ = source_ ? source_->Changed.connect([this] { onChanged(); }) : Signal<>::Connection();
    Load();
}

Field* FieldLink::GetField() const {
    ClientDataSet* ds = DataSet();
    if (!ds || !ds->Active() || fieldName_.empty()) return nullptr;
    return ds->FindField(fieldName_);
}

bool FieldLink::Editing() const {
    ClientDataSet* ds = DataSet();
    return ds && (ds->State() == DataSetState::Edit || ds->State() == DataSetState::Insert);
}

bool FieldLink::CanModify() const {
    Field* f = GetField();
    return f && !f->ReadOnly() && !f->Calculated() && !DataSet()->ReadOnly();
}

bool FieldLink::Edit() {
    if (!CanModify()) return false;
    if (!Editing()) {
        try {
            DataSet()->Edit();
        } catch (...) {
            Reset();
            throw;
        }
    }
    return Editing();
}

void FieldLink::SetModified() {
    modified_ = true;
    registerEditor();
}

void FieldLink::UpdateRecord() {
    if (!modified_) return;
    // Cleared first: writing the field makes the dataset notify, and the control
    // must then show the field as stored.
    modified_ = false;
    try {
        if (GetField()) write_();
    } catch (...) {
        modified_ = true;
        throw;
    }
    unregisterEditor();
}

void FieldLink::Reset() {
    modified_ = false;
    unregisterEditor();
    Load();
}

void FieldLink::Load() {
    ClientDataSet* ds = DataSet();
    Field* f = GetField();
    loadedState_ = ds ? ds->State() : DataSetState::Inactive;
    loadedBookmark_ = f ? ds->Bookmark() : -1;
    loadedText_ = f ? f->Text() : std::string();
    load_();
}

void FieldLink::onChanged() {
    if (modified_ && Editing()) {
        ClientDataSet* ds = DataSet();
        Field* f = GetField();
        if (f && ds->State() == loadedState_ && ds->Bookmark() == loadedBookmark_ &&
            f->Text() == loadedText_)
            return;  // another field changed: keep what the user is typing
    }
    modified_ = false;
    unregisterEditor();
    Load();
}

void FieldLink::registerEditor() {
    if (registered_ || !source_) return;
    source_->AddEditor(this, [this] { UpdateRecord(); });
    registered_ = true;
}

void FieldLink::unregisterEditor() {
    if (!registered_) return;
    registered_ = false;
    if (source_) source_->RemoveEditor(this);
}

}  // namespace pag
