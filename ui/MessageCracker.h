// One path for messages: each message a control knows has a small cracker
// that unpacks it and calls the control's typed handler. Messages without a
// cracker go to TWinControl::HandleMessage and then the default procedure.
#pragma once

#include "Control.h"

// Returns true when m was handled (m.Result holds the answer).
bool CrackMessage(TWinControl& c, TMessage& m);
// The modifier keys held now, as a shift state.
TShiftState KeyboardShiftState();
// A control going: a paint error it reported is forgotten with it.
void ForgetPaintError(const TWinControl* c);
