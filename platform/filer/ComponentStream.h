// Component streams: "TPF0", then a component as its class name, its name,
// its stored published properties (a collection as a collection value,
// a persistent sub-object as dotted names), a 0 byte, its owned components
// in the same form, and a 0 byte. Reading creates components through the
// class registry; errors are EReadError texts with the byte offset, or
// EClassNotFound.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/Streams.h"
#include "platform/filer/Classes.h"

namespace vesper {

std::string WriteComponentStream(TComponent& root);
void WriteComponent(TStream& stream, TComponent& root);

// Reads the component at the start of `data`; `consumed` gets the bytes used.
std::unique_ptr<TComponent> ReadComponentStream(std::string_view data, size_t* consumed = nullptr);
// Reads the properties and owned components into an existing `instance`
// (the stream's class name is not checked against it).
void ReadComponentStream(std::string_view data, TComponent& instance, size_t* consumed = nullptr);

// From the stream's position; the position ends after the component.
std::unique_ptr<TComponent> ReadComponent(TStream& stream);
void ReadComponent(TStream& stream, TComponent& instance);

// ReadComponent, checked to be a T; otherwise the component read is freed
// and EInvalidCast "Invalid class typecast" raised.
template <class T>
std::unique_ptr<T> ReadComponentAs(TStream& stream) {
  std::unique_ptr<TComponent> c = ReadComponent(stream);
  T* t = dynamic_cast<T*>(c.get());
  if (!t) throw EInvalidCast("Invalid class typecast");
  c.release();
  return std::unique_ptr<T>(t);
}

}  // namespace vesper
