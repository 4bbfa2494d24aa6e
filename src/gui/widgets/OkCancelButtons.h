// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QDialog;
class QDialogButtonBox;

// The OK and Cancel buttons of a small option dialog, labelled in the program's
// language and wired to accept and reject.
QDialogButtonBox *AddOkCancelButtons(QDialog &dialog);
