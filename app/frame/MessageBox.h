// The program's own message box: a modal window of class TMessageForm with a
// caption and stock icon chosen by the kind of message, the text, and a row
// of buttons chosen by the caller.
#pragma once

#include "app/frame/Forms.h"
#include "app/frame/MessageLayout.h"

#include <string_view>

namespace moke {

enum TMsgDlgType : int { mtWarning = 0, mtError = 1, mtInformation = 2, mtConfirmation = 3, mtCustom = 4 };

// Shows the box modally; returns the result number of the button pressed, or
// mrCancel when the box is closed without a button.
int ShowMessageBox(std::string_view message, int kind, unsigned buttons, int helpContext = 0);

// The box itself, built from the message, kind and buttons.
class TMessageForm : public TForm {
public:
    TMessageForm(TComponent* owner, std::string_view message, int kind, unsigned buttons, int helpContext);
    int HelpContext() const { return helpContext_; }

private:
    int helpContext_;
};

// Width of each button kind's caption plus 8, measured once per process (0: not yet).
int CachedCaptionWidth(unsigned bit);

} // namespace moke
