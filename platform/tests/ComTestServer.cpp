// A small in-process server for the COM tests: one class, two interfaces.
#include "platform/ComServ.h"
#include "platform/tests/ComTestIntf.h"

namespace vesper::test {
namespace {

class TTestCounter : public TComObjectWith<ITestCounter, ITestAnswer> {
 public:
  int32_t Increment() override { return ++count_; }
  int32_t ServerObjectCount() override { return ComServer().ObjectCount(); }
  int32_t Answer() override { return 42; }

 private:
  int32_t count_ = 0;
};

[[maybe_unused]] TComObjectFactory* const factory =
    new TComObjectFactory(ComServer(), [] { return new TTestCounter; }, CLSID_TestCounter, "TestCounter",
                          "Vesper test counter", ciMultiInstance, tmApartment);

}  // namespace
}  // namespace vesper::test
