// How the record view reads to a screen reader: the navigator as a tool bar
// of its shown buttons, each named by its hint; the picture box as an
// image described as the current font's sample; each box named by the
// label that captions it.
#pragma once

namespace pellory::ui {

class TDBImage;
class TForm2;

// Installs the accessible interfaces of the navigator and the picture box;
// the first call does it, later ones nothing.
void InstallRecordViewAccessibility();
// Gives each box of the record view the label that captions it, and the
// status line's text its "Present display: ".
void CaptionRecordView(TForm2& window);
// Tells a screen reader that the picture box shows another picture.
void AnnouncePicture(TDBImage& box);

}  // namespace pellory::ui
