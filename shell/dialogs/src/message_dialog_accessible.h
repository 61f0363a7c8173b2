// A message dialog reads to a screen reader as an alert: named by its
// caption, its painted message given as a text of its own before the OK
// button, and announced when it appears.
#pragma once

namespace pellory::shell {

class MessageDialog;

// Registers the dialog's accessible interface.
void InstallMessageDialogAccessibility();
// Tells a screen reader that `dialog` has appeared.
void AnnounceAlert(MessageDialog& dialog);

}  // namespace pellory::shell
