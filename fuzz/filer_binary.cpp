// Binary form files and component streams: conversion to text (with or
// without the resource header) and reading into the object model.
#include <cstdint>
#include <string_view>

#include "platform/Exception.h"
#include "platform/filer/ComponentStream.h"
#include "platform/filer/FormConverter.h"

namespace {

using namespace vesper;

class TFuzzItem : public TCollectionItem {
 public:
  std::string ClassName() const override { return "TFuzzItem"; }
  std::string Text;
  int32_t Number = 0;
  bool Flag = true;
  void PublishedProperties(TPropList& p) override {
    p.String("Text", [this] { return Text; }, [this](const std::string& v) { Text = v; });
    p.Integer("Number", [this] { return Number; }, [this](int32_t v) { Number = v; });
    p.Boolean("Flag", [this] { return Flag; }, [this](bool v) { Flag = v; }, true);
  }
};

class TFuzzFont : public TPersistent {
 public:
  std::string ClassName() const override { return "TFuzzFont"; }
  uint32_t Style = 0;
  long double Size = 0;
  void PublishedProperties(TPropList& p) override {
    p.Set("Style", {"fsBold", "fsItalic"}, [this] { return Style; }, [this](uint32_t v) { Style = v; }, 0);
    p.Float("Size", [this] { return Size; }, [this](long double v) { Size = v; });
  }
};

class TFuzzComponent : public TComponent {
 public:
  explicit TFuzzComponent(TComponent* owner) : TComponent(owner) {}
  std::string ClassName() const override { return "TFuzzComponent"; }
  TCollection Items{[] { return std::make_unique<TFuzzItem>(); }};
  TFuzzFont Font;
  int Kind = 0;
  void PublishedProperties(TPropList& p) override {
    TComponent::PublishedProperties(p);
    p.Object("Items", [this] { return &Items; });
    p.Object("Font", [this] { return &Font; });
    p.Enumeration("Kind", {"kOne", "kTwo"}, [this] { return Kind; }, [this](int v) { Kind = v; });
  }
};

const bool registered = [] {
  RegisterClass<TFuzzComponent>("TFuzzComponent");
  return true;
}();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  try {
    FormFileToText(input);
  } catch (const vesper::Exception&) {
  }
  try {
    std::unique_ptr<vesper::TComponent> c = vesper::ReadComponentStream(input);
    vesper::WriteComponentStream(*c);
  } catch (const vesper::Exception&) {
  }
  return 0;
}
