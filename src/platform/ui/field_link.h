#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/dataset/client_dataset.h"

namespace pag {

// Ties a data-aware control to one field of a data source:
// - the control shows the field again whenever the dataset changes, except while the
//   user's typing is pending on the same row and the field itself did not change
//   (so a change handler that writes another field never wipes what is being typed);
// - before the user's first change the dataset is put into edit (BeforeEdit may
//   refuse by throwing);
// - the pending text is written into the field when the control is left, and before
//   the dataset posts (the link registers with the data source while text is pending).
//
// The data source must outlive the link while text is pending; a form that owns its
// data sources destroys its controls first (Form::DestroyControls).
class FieldLink {
public:
    // load: show the field now; write: store the control's pending text in the field.
    FieldLink(std::function<void()> load, std::function<void()> write);
    ~FieldLink();
    FieldLink(const FieldLink&) = delete;
    FieldLink& operator=(const FieldLink&) = delete;

    void Bind(DataSource* source, std::string fieldName);
    DataSource* Source() const { return source_; }
    const std::string& FieldName() const { return fieldName_; }
    ClientDataSet* DataSet() const { return source_ ? source_->DataSet() : nullptr; }
    // The bound field of the open dataset; null when there is none.
    Field* GetField() const;
    // The dataset is in edit or insert state.
    bool Editing() const;
    // The user may change the field: open dataset, neither it nor the field read-only.
    bool CanModify() const;
    // Puts a browsing dataset into edit before a user change. False (nothing done)
    // when the field cannot be modified; a BeforeEdit refusal propagates.
    bool Edit();

    bool Modified() const { return modified_; }
    // The control now holds text the user typed that the field does not have yet.
    void SetModified();
    // Writes the pending text (if any). A failure keeps it pending and propagates.
    void UpdateRecord();
    // Drops the pending text and shows the field again.
    void Reset();
    // Shows the field again now (also remembers what was shown).
    void Load();

private:
    void onChanged();
    void registerEditor();
    void unregisterEditor();

    std::function<void()> load_, write_;
    DataSource* source_ = nullptr;
    std::string fieldName_;
    Signal<>::Connection conn_;
    bool modified_ = false;
    bool registered_ = false;
    // What was loaded last: the row, the state and the field's text.
    DataSetState loadedState_ = DataSetState::Inactive;
    int64_t loadedBookmark_ = -1;
    std::string loadedText_;
};

}  // namespace pag
