#pragma once

#include <string>

#include "platform/dataset/client_dataset.h"
#include "platform/ui/control.h"

namespace pag {

enum class NavigateButton { First, Prior, Next, Last };

// Whether a move is possible on the dataset now: it is open, browsing (a row being
// edited is confirmed or cancelled first, never carried along by a move) and not
// already at that end.
bool CanNavigate(const ClientDataSet* dataset, NavigateButton button);
// Moves the cursor; false (and nothing happens) when CanNavigate says no.
bool Navigate(ClientDataSet* dataset, NavigateButton button);

// The record navigator of the base screen (dbnPadrao): first, prior, next and last over
// a data source's dataset.
class DBNavigator : public Control {
public:
    DBNavigator(std::string name, Container* parent, DataSource* source = nullptr);

    DataSource* GetDataSource() const { return source_; }
    void SetDataSource(DataSource* source) { source_ = source; }
    // A button can be pressed when the navigator is usable and the move is possible.
    bool ButtonEnabled(NavigateButton button) const;
    // The user presses a button; false when it was not enabled.
    bool Press(NavigateButton button);
    bool CanFocus() const override { return false; }

private:
    DataSource* source_ = nullptr;
};

}  // namespace pag
