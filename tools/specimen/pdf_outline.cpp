#include "pdf_outline.h"

#include <algorithm>
#include <cstdio>

#include "pdf_text.h"

namespace pellory::specimen {
namespace {

// Books of at most this many entries show their groups open.
constexpr std::size_t kOpenEntries = 100;

std::string Decimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

std::string Ref(int number) {
  std::string ref = std::to_string(number);
  ref += " 0 R";
  return ref;
}

struct Item {
  std::string title;
  PdfPlace target;
  std::vector<std::size_t> children;  // indexes into the entries
  int number = 0;
};

// The top level: entries without a group in order, then one item per group.
std::vector<Item> TopLevel(const BookNavigation& navigation) {
  std::vector<Item> items;
  std::vector<std::string> groups = navigation.groupOrder;
  for (const OutlineEntry& entry : navigation.outline)
    if (!entry.group.empty() &&
        std::find(groups.begin(), groups.end(), entry.group) == groups.end())
      groups.push_back(entry.group);
  for (std::size_t i = 0; i < navigation.outline.size(); ++i)
    if (navigation.outline[i].group.empty())
      items.push_back({navigation.outline[i].title, navigation.outline[i].target, {}, 0});
  for (const std::string& group : groups) {
    Item item{group, {}, {}, 0};
    for (std::size_t i = 0; i < navigation.outline.size(); ++i)
      if (navigation.outline[i].group == group) item.children.push_back(i);
    if (item.children.empty()) continue;
    item.target = navigation.outline[item.children.front()].target;
    items.push_back(item);
  }
  return items;
}

// "/Prev n 0 R /Next n 0 R" of the item at `i` among `numbers`.
std::string Siblings(const std::vector<int>& numbers, std::size_t i) {
  std::string text;
  if (i > 0) {
    text += " /Prev ";
    text += Ref(numbers[i - 1]);
  }
  if (i + 1 < numbers.size()) {
    text += " /Next ";
    text += Ref(numbers[i + 1]);
  }
  return text;
}

}  // namespace

std::string DestinationArray(const PdfPlace& place, const PageObjects& pages) {
  std::string text = "[";
  text += Ref(pages(place.page));
  text += " /XYZ ";
  text += Decimal(place.x);
  text += ' ';
  text += Decimal(place.y);
  text += " null]";
  return text;
}

int WriteOutline(BookFile& book, const BookNavigation& navigation, const PageObjects& pages) {
  std::vector<Item> items = TopLevel(navigation);
  if (items.empty()) return 0;
  const bool open = navigation.outline.size() <= kOpenEntries;
  const int root = book.Reserve();
  std::vector<int> top;
  for (Item& item : items) top.push_back(item.number = book.Reserve());
  int visible = static_cast<int>(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Item& item = items[i];
    std::vector<int> children;
    for (std::size_t k = 0; k < item.children.size(); ++k) children.push_back(book.Reserve());
    std::string body = "<</Title " + PdfTextString(item.title) + " /Parent " + Ref(root) +
                       Siblings(top, i) + " /Dest " + DestinationArray(item.target, pages);
    if (!children.empty()) {
      const int count = static_cast<int>(children.size());
      body += " /First " + Ref(children.front()) + " /Last " + Ref(children.back()) + " /Count " +
              std::to_string(open ? count : -count);
      if (open) visible += count;
    }
    book.Object(item.number, body + ">>");
    for (std::size_t k = 0; k < children.size(); ++k) {
      const OutlineEntry& entry = navigation.outline[item.children[k]];
      book.Object(children[k], "<</Title " + PdfTextString(entry.title) + " /Parent " +
                                   Ref(item.number) + Siblings(children, k) + " /Dest " +
                                   DestinationArray(entry.target, pages) + ">>");
    }
  }
  book.Object(root, "<</Type /Outlines /First " + Ref(top.front()) + " /Last " + Ref(top.back()) +
                        " /Count " + std::to_string(visible) + ">>");
  return root;
}

std::string LinkAnnotation(const PageLink& link, const PageObjects& pages) {
  std::string text = "<</Type /Annot /Subtype /Link /Rect [";
  for (const double edge : {link.left, link.bottom, link.right, link.top}) {
    text += Decimal(edge);
    text += ' ';
  }
  text += "] /Border [0 0 0] /Dest ";
  text += DestinationArray(link.target, pages);
  text += ">>";
  return text;
}

}  // namespace pellory::specimen
