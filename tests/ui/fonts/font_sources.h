// Font lists for the font list tests: screen and printer names a test
// chooses, a printer that fails, and the sources every new list takes.
#pragma once

#include <functional>
#include <memory>

#include "pellory/ui/fonts/tglfontlistbox.h"

namespace fonttest {

using pellory::ui::FontSources;

// A printer whose list `printer` answers, or which raises what `printer`
// throws; a test may change it between rebuilds.
struct SwitchablePrinter {
  std::function<QStringList()> printer = [] { return QStringList(); };
};

// `screen` and whatever `printer` answers at each rebuild.
FontSources Sources(const QStringList& screen, std::shared_ptr<SwitchablePrinter> printer);

// Every list made while this lives takes `sources`.
class DefaultSourcesScope {
 public:
  explicit DefaultSourcesScope(FontSources sources);
  ~DefaultSourcesScope();
  DefaultSourcesScope(const DefaultSourcesScope&) = delete;
  DefaultSourcesScope& operator=(const DefaultSourcesScope&) = delete;

 private:
  FontSources saved_;
};

// The names of `list` in list order.
QStringList Names(pellory::ui::TGLFontListBox& list);

}  // namespace fonttest
