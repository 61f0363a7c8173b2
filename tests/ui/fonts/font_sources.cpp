#include "font_sources.h"

namespace fonttest {

FontSources Sources(const QStringList& screen, std::shared_ptr<SwitchablePrinter> printer) {
  return {[screen] { return screen; }, [printer] { return printer->printer(); }};
}

DefaultSourcesScope::DefaultSourcesScope(FontSources sources)
    : saved_(pellory::ui::TGLFontListBox::DefaultSources()) {
  pellory::ui::TGLFontListBox::SetDefaultSources(std::move(sources));
}

DefaultSourcesScope::~DefaultSourcesScope() {
  pellory::ui::TGLFontListBox::SetDefaultSources(std::move(saved_));
}

QStringList Names(pellory::ui::TGLFontListBox& list) {
  QStringList names;
  for (int row = 0; row < list.Count(); ++row) names.append(list.Item(row));
  return names;
}

}  // namespace fonttest
