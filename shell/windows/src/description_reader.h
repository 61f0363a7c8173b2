// Reads a window's stored description into the window: components are
// created and their properties applied in stored order.
#pragma once

#include <vector>

#include "pellory/shell/window_description.h"

namespace pellory::shell {

class DescribedComponent;
class StoredWindow;

class DescriptionReader {
 public:
  explicit DescriptionReader(StoredWindow& window) : window_(window) {}

  // Reads `description`; answers the loaded list, the window first. A
  // property that cannot be set raises "Error reading %s%s%s: %s" and the
  // half-built component is destroyed.
  std::vector<DescribedComponent*> Read(const WindowDescription& description);

 private:
  // One property through the entry its class declares; an event gets the
  // window's handler of the stored name.
  void Apply(DescribedComponent& component, const StoredProperty& property);
  void ReadProperties(DescribedComponent& component, const QString& name,
                      const std::vector<StoredProperty>& properties);
  void ReadComponent(const ComponentDescription& description, DescribedComponent* parent);

  StoredWindow& window_;
  std::vector<DescribedComponent*> loaded_;
};

}  // namespace pellory::shell
