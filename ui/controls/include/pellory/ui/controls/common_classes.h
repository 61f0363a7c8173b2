// Makes the shared control classes known to the description reader.
#pragma once

namespace pellory::ui {

// TMainMenu, MenuCommand, CaptionLabel, TBevel, TButton. Safe to call again.
void RegisterCommonClasses();

}  // namespace pellory::ui
