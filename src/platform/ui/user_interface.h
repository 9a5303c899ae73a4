#pragma once

#include <functional>
#include <string>
#include <vector>

namespace pag {

class ClientDataSet;
class Form;

enum class MessageKind { Error, Information, Warning, Confirmation };
enum class ModalResult { None, Ok, Cancel, Yes, No };

// Everything the core asks of the person in front of the screen. The desktop front
// end implements it with real dialogs; tests and scenario files use a scripted
// double that records messages and answers from a queue.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    virtual void showMessage(MessageKind kind, const std::string& text) = 0;
    // Yes/No question; true on "Sim".
    virtual bool ask(const std::string& text) = 0;
    // Single pick list over an open dataset: on true the dataset's cursor is left on
    // the chosen row. emptyText is shown instead when the dataset has no rows.
    virtual bool pickOne(ClientDataSet& data, const std::string& title,
                         const std::string& emptyText) = 0;
    // Multiple pick list: returns the chosen values of keyField (empty = none chosen).
    virtual std::vector<std::string> pickMany(ClientDataSet& data, const std::string& keyField,
                                              const std::string& title) = 0;
    // Find dialog over a dataset: on true the cursor is on the found row.
    virtual bool find(ClientDataSet& data) = 0;
    // Shows a form modally and returns when it closes.
    virtual ModalResult showModal(Form& form) = 0;
    virtual void busy(bool on, int kind) = 0;
    virtual void showHelp(int helpContext) = 0;
    // A passing note that needs no answer (a save that went through); screens without
    // a status line ignore it.
    virtual void showStatus(const std::string& /*text*/) {}
};

}  // namespace pag
