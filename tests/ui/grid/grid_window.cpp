#include "grid_window.h"

#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "gui_helpers.h"
#include "pellory/data/session.h"
#include "pellory/shell/description_registry.h"
#include "pellory/ui/grid/grid_window_description.h"

namespace gridtest {

namespace fs = std::filesystem;

void SetStored(pellory::shell::WindowDescription& description, const QString& component,
               const QString& path, const pellory::shell::StoredValue& value) {
  for (auto& c : description.components) {
    if (c.name != component) continue;
    for (auto& property : c.properties)
      if (property.path == path) {
        property.value = value;
        return;
      }
    c.properties.push_back({path, value});
    return;
  }
  ADD_FAILURE() << "no component " << component.toStdString();
}

DescriptionChange Selected(const QStringList& entries) {
  return [entries](pellory::shell::WindowDescription& d) {
    SetStored(d, QStringLiteral("wwDBGrid1"), QStringLiteral("Selected"), entries);
  };
}

DescriptionChange ControlType(const QStringList& entries) {
  return [entries](pellory::shell::WindowDescription& d) {
    SetStored(d, QStringLiteral("wwTable1"), QStringLiteral("ControlType"), entries);
  };
}

std::vector<Font> WithPicture(int count, const std::string& picture) {
  std::vector<Font> fonts = cataloguetest::Numbered(count);
  for (Font& f : fonts) f.picture = picture;
  return fonts;
}

std::string Solid(int width, int height, QRgb colour) {
  return cataloguetest::BmpFile(width, height, [colour](int, int) { return colour; });
}

std::string WithGraphicHeader(const std::string& bmp) {
  std::string out;
  const auto put = [&out](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char((v >> (8 * i)) & 0xFF);
  };
  put(1, 2);
  put(0x0100, 2);
  put(std::uint32_t(bmp.size()), 4);
  return out + bmp;
}

void GridWindow::Open(const std::vector<Font>& fonts, const DescriptionChange& change) {
  catalogue_ = std::make_unique<cataloguetest::TestCatalogue>(fonts);
  if (change) {
    pellory::shell::WindowDescription description = pellory::ui::GridWindowDescription();
    change(description);
    pellory::shell::DescriptionRegistry::Register(description);
    replaced_ = true;
  }
  Show();
}

void GridWindow::OpenWithoutCatalogue() {
  const fs::path dir = fs::temp_directory_path() /
                       ("pellory-grid-none-" + std::to_string(QCoreApplication::applicationPid()));
  fs::create_directories(dir);
  brokenDir_ = dir.string();
  std::ofstream(dir / "engine.conf")
      << "[alias pellory]\npath = " << (dir / "missing").string() << "\n";
  ::setenv("PELLORY_ENGINE_CONFIG", (dir / "engine.conf").c_str(), 1);
  Show();
}

void GridWindow::Show() {
  form = app->CreateForm<pellory::ui::TForm3>();
  form->show();
  form->activateWindow();
  guitest::pumpUntil([this] { return grid()->hasFocus(); });
  guitest::pump();
}

QImage GridWindow::Client() const {
  return guitest::grabImage(grid()->viewport());
}

void GridWindow::TearDown() {
  ShellTest::TearDown();
  pellory::data::Session.Stop();
  if (replaced_)
    pellory::shell::DescriptionRegistry::Register(pellory::ui::GridWindowDescription());
  catalogue_.reset();
  if (!brokenDir_.empty()) {
    ::unsetenv("PELLORY_ENGINE_CONFIG");
    std::error_code ignored;
    fs::remove_all(brokenDir_, ignored);
  }
}

}  // namespace gridtest
