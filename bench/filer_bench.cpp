// Form-file conversion speed. The peer is zlib's CRC-32 over the same bytes:
// the ratio of the two times says how many checksum passes one conversion
// costs, which stays comparable across machines.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <string>

#include "platform/filer/FormConverter.h"

namespace {

// A form of `controls` components with the usual mix of properties.
std::string MakeFormText(int controls) {
  std::string t = "object MainForm: TMainForm\r\n  Left = 200\r\n  Caption = 'Main window'\r\n";
  for (int i = 0; i < controls; ++i) {
    std::string n = std::to_string(i);
    t += "  object Button" + n + ": TButton\r\n";
    t += "    Left = " + std::to_string(i * 8) + "\r\n    Top = " + std::to_string(i * 300) + "\r\n";
    t += "    Caption = 'Button number " + n + " with an '#39'accent'#39' caf\xe9'\r\n";
    t += "    Font.Style = [fsBold, fsItalic]\r\n    Align = alClient\r\n    Visible = False\r\n";
    t += "    Ratio = 1.25\r\n    Glyph.Data = {\r\n      ";
    for (int b = 0; b < 32; ++b) t += "0A";
    t += "\r\n      0B0C}\r\n";
    t += "    Items = <\r\n      item\r\n        Width = 50\r\n      end>\r\n  end\r\n";
  }
  return t + "end\r\n";
}

const std::string& FormText() {
  static const std::string text = vesper::ObjectBinaryToText(vesper::ObjectTextToBinary(MakeFormText(2000)));
  return text;
}

const std::string& FormBinary() {
  static const std::string binary = vesper::ObjectTextToBinary(FormText());
  return binary;
}

void Crc32(benchmark::State& state, const std::string& data) {
  for (auto _ : state)
    benchmark::DoNotOptimize(crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size())));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.size()));
}

void BM_Crc32Binary(benchmark::State& state) { Crc32(state, FormBinary()); }
void BM_Crc32Text(benchmark::State& state) { Crc32(state, FormText()); }

void BM_BinaryToText(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(vesper::ObjectBinaryToText(FormBinary()));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(FormBinary().size()));
}

void BM_TextToBinary(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(vesper::ObjectTextToBinary(FormText()));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(FormText().size()));
}

BENCHMARK(BM_Crc32Binary);
BENCHMARK(BM_BinaryToText);
BENCHMARK(BM_Crc32Text);
BENCHMARK(BM_TextToBinary);

}  // namespace

BENCHMARK_MAIN();
