#include "pellory/ui/main/bound_field.h"

#include <QKeyEvent>
#include <utility>

#include "pellory/data/field.h"
#include "pellory/shell/described_control.h"

namespace pellory::ui {

BoundField::BoundField() {
  link_.RereadField = [this](data::TField* field) { ReadField(field); };
}

void BoundField::Bind(data::TDataSource* source, const QString& controlName) {
  link_.SetControlName(controlName.toStdString());
  // Naming the field makes the link re-read it, which would take a control
  // out of the state it shows until its cursor is first opened.
  auto reread = std::exchange(link_.RereadField, nullptr);
  link_.SetFieldName(dataField_.toStdString());
  link_.RereadField = std::move(reread);
  link_.SetDataSource(source);
}

const shell::PropertyTable& BoundField::Properties() {
  using shell::Property;
  using B = BoundField;
  using V = const shell::StoredValue&;
  static const shell::PropertyTable table(
      &shell::DescribedControl::Properties(),
      {
          Property<B>("DataSource", [](B& b, V v) { b.dataSource_ = shell::StringValue(v); }),
          Property<B>("DataField", [](B& b, V v) { b.dataField_ = shell::StringValue(v); }),
      });
  return table;
}

QString FieldText(const data::TField* field) {
  if (!field || field->IsNull()) return {};
  return QString::fromStdString(field->AsString());
}

bool KeyChangesText(const QKeyEvent& event) {
  const int key = event.key();
  if (key == Qt::Key_Delete || key == Qt::Key_Backspace) return true;
  if (key == Qt::Key_Insert && event.modifiers() & Qt::ShiftModifier) return true;
  if (event.modifiers() & Qt::ControlModifier) return key == Qt::Key_V || key == Qt::Key_X;
  return !event.text().isEmpty() && event.text().at(0).isPrint();
}

}  // namespace pellory::ui
