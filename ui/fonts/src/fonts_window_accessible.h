// How the installed fonts window reads to a screen reader: the radio group
// as a group named by its caption, and the font list named by the checked
// font type and the count under the list.
#pragma once

namespace pellory::ui {

class TForm1;

// Installs the radio group's accessible interface and names the list when
// the window is first shown.
void DescribeFontsWindow(TForm1& window);
// Names the list again, after the font type or the count changed.
void NameFontList(TForm1& window);

}  // namespace pellory::ui
