// The host's stored wizard list: any bytes either fail to read with an
// exception or give a list that writes and reads back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/WizManager.h"
#include "platform/filer/ComponentStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vesper;
  TMemoryStream in;
  in.WriteBuffer(data, size);
  in.SetPosition(0);
  std::unique_ptr<TWizardManager> m;
  try {
    m = TWizardManager::LoadFromStream(in);
  } catch (const std::exception&) {
    return 0;
  }
  std::string bytes = WriteComponentStream(*m);
  TMemoryStream again;
  again.WriteBuffer(bytes.data(), bytes.size());
  again.SetPosition(0);
  std::unique_ptr<TWizardManager> r = TWizardManager::LoadFromStream(again);
  if (WriteComponentStream(*r) != bytes) std::abort();
  return 0;
}
