#include "book_reading.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFOutlineDocumentHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <stdexcept>

namespace pellory::testkit {
namespace {

// Parses a page's content and counts nothing: a syntax error throws or warns.
class ContentParser : public QPDFObjectHandle::ParserCallbacks {
 public:
  void handleObject(QPDFObjectHandle) override {}
  void handleEOF() override {}
};

void OpenStrictly(QPDF& pdf, const std::filesystem::path& path) {
  pdf.setAttemptRecovery(false);
  pdf.setSuppressWarnings(true);
  pdf.processFile(path.c_str());
}

// The page number (from 1) of a page object.
int PageNumber(QPDF& pdf, QPDFObjectHandle page) {
  if (!page.isDictionary()) return 0;
  const auto pages = pdf.getAllPages();
  for (std::size_t i = 0; i < pages.size(); ++i)
    if (pages[i].getObjGen() == page.getObjGen()) return static_cast<int>(i + 1);
  return 0;
}

OutlineItem ItemOf(QPDF& pdf, QPDFOutlineObjectHelper& item) {
  OutlineItem read{item.getTitle(), PageNumber(pdf, item.getDestPage()), {}};
  for (QPDFOutlineObjectHelper& kid : item.getKids()) read.kids.push_back(ItemOf(pdf, kid));
  return read;
}

// Collects the operands of each Tm.
class TextMatrixCollector : public QPDFObjectHandle::ParserCallbacks {
 public:
  void handleObject(QPDFObjectHandle object) override {
    if (!object.isOperator()) {
      if (object.isNumber()) operands_.push_back(object.getNumericValue());
      return;
    }
    if (object.getOperatorValue() == "Tm") matrices.push_back(operands_);
    operands_.clear();
  }
  void handleEOF() override {}
  std::vector<std::vector<double>> matrices;

 private:
  std::vector<double> operands_;
};

}  // namespace

std::vector<std::vector<double>> TextMatrices(const std::filesystem::path& path) {
  QPDF pdf;
  OpenStrictly(pdf, path);
  TextMatrixCollector collector;
  for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages())
    page.parseContents(&collector);
  return collector.matrices;
}

std::string QpdfProblems(const std::filesystem::path& path) {
  try {
    QPDF pdf;
    OpenStrictly(pdf, path);
    for (QPDFObjectHandle& object : pdf.getAllObjects())
      if (object.isStream()) object.getStreamData(qpdf_dl_all);
    ContentParser parser;
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages())
      page.parseContents(&parser);
    std::string said;
    for (const QPDFExc& warning : pdf.getWarnings()) said += warning.what() + std::string("\n");
    return said;
  } catch (const std::exception& e) {
    return e.what();
  }
}

BookNavigation ReadNavigation(const std::filesystem::path& path) {
  QPDF pdf;
  OpenStrictly(pdf, path);
  BookNavigation navigation;
  navigation.version = pdf.getPDFVersion();
  QPDFObjectHandle id = pdf.getTrailer().getKey("/ID");
  navigation.hasId = id.isArray() && id.getArrayNItems() == 2 && id.getArrayItem(0).isString() &&
                     id.getArrayItem(0).getStringValue().size() == 16;
  QPDFObjectHandle info = pdf.getTrailer().getKey("/Info");
  if (info.isDictionary())
    for (const std::string& key : info.getKeys())
      if (info.getKey(key).isString()) navigation.info[key] = info.getKey(key).getUTF8Value();
  QPDFOutlineDocumentHelper outlines(pdf);
  for (QPDFOutlineObjectHelper& item : outlines.getTopLevelOutlines())
    navigation.outline.push_back(ItemOf(pdf, item));
  auto pages = pdf.getAllPages();
  for (std::size_t i = 0; i < pages.size(); ++i) {
    QPDFObjectHandle annotations = pages[i].getKey("/Annots");
    if (!annotations.isArray()) continue;
    for (QPDFObjectHandle annotation : annotations.getArrayAsVector()) {
      if (!annotation.getKey("/Subtype").isNameAndEquals("/Link")) continue;
      QPDFObjectHandle dest = annotation.getKey("/Dest");
      QPDFObjectHandle rect = annotation.getKey("/Rect");
      navigation.links.push_back({static_cast<int>(i + 1),
                                  dest.isArray() ? PageNumber(pdf, dest.getArrayItem(0)) : 0,
                                  rect.isArray() ? rect.getArrayItem(3).getNumericValue() : 0});
    }
  }
  return navigation;
}

}  // namespace pellory::testkit
