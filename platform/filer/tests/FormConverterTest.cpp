#include <gtest/gtest.h>

#include "platform/Streams.h"
#include "platform/filer/FilerValues.h"
#include "platform/filer/FormConverter.h"
#include "platform/filer/Parser.h"

using namespace vesper;

namespace {

std::string Lines(std::initializer_list<const char*> lines) {
  std::string s;
  for (const char* l : lines) s += std::string(l) + "\r\n";
  return s;
}

// A form in canonical text: every value tag, nesting, collections, sets,
// binary data, long and multi-line strings, 8-bit characters, boundary
// integers and floats.
const std::string& CorpusForm() {
  static const std::string text = Lines({
      "object MainForm: TMainForm",
      "  Left = 127",
      "  Top = 128",
      "  Width = -129",
      "  Height = 32768",
      "  Tag = 2147483647",
      "  HelpContext = -2147483648",
      "  MaxValue = 4294967296",
      "  Neg1 = -1",
      "  Neg2 = -32769",
      "  Caption = 'Caf\xe9 '#39'Cr\xe8me'#39' & co'",
      "  Hint = 'Line one'#13#10'Line two'#13#10",
      "  Empty = ''",
      "  LongText = ",
      "    'The quick brown fox jumps over the lazy dog and keeps running un' +",
      "    'til the very end of this rather long line of text, which is wrap' +",
      "    'ped by the converter at sixty-four characters.'",
      "  Tabs = #9'a'#9#9'b'",
      "  Color = clBtnFace",
      "  Visible = False",
      "  Enabled = True",
      "  PopupMenu = MainForm.Popup1",
      "  DataSource = nil",
      "  Value = Null",
      "  Anchors = [akLeft, akTop, akRight]",
      "  Options = []",
      "  Ratio = 1.5",
      "  Small = 1E-5",
      "  Big = 1E20",
      "  Third = 0.333333333333333",
      "  Negative = -0.125",
      "  Single = 0.5s",
      "  Price = 123456789c",
      "  Stamp = 36526.5d",
      "  Wide = 'W'#1074'de'",
      "  Font.Name = 'MS Sans Serif'",
      "  Font.Style = [fsBold]",
      "  Icon.Data = {",
      "    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F",
      "    FFFEFDFC}",
      "  Tiny = {0A0B}",
      "  NoData = {}",
      "  Lines.Strings = (",
      "    'first'",
      "    'second'",
      "    12",
      "    (",
      "      1.25",
      "      alNone)",
      "    ())",
      "  Panels = <",
      "    item",
      "      Width = 50",
      "      Text = 'a'",
      "    end",
      "    item [3]",
      "      Bevel = pbNone",
      "    end",
      "    item",
      "    end>",
      "  Columns = <>",
      "  object Panel1: TPanel",
      "    Align = alTop",
      "    object Button1: TButton",
      "      Caption = '&OK'",
      "    end",
      "    object TLabel",
      "    end",
      "  end",
      "  inherited Edit1: TEdit [2]",
      "    Text = 'x'",
      "  end",
      "  inline Frame1: TFrame1",
      "  end",
      "end",
  });
  return text;
}

template <class E>
std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const E& e) {
    return e.what();
  }
  return "(no error)";
}

}  // namespace

TEST(FormConverter, CorpusRoundTrips) {
  const std::string& text = CorpusForm();
  std::string binary = ObjectTextToBinary(text);
  EXPECT_EQ(ObjectBinaryToText(binary), text);
  EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(binary)), binary);
}

TEST(FormConverter, BinaryLayout) {
  std::string binary = ObjectTextToBinary(
      "object F: TF\n  A = 300\n  B = 'x'\n  C = [s1]\n  object G: TG [1]\n  end\nend\n");
  const char expected[] =
      "TPF0" "\x02TF" "\x01" "F"
      "\x01" "A" "\x03\x2C\x01"
      "\x01" "B" "\x06\x01x"
      "\x01" "C" "\x0B\x02s1\x00"
      "\x00"
      "\xF2\x02\x01" "\x02TG" "\x01G" "\x00\x00"
      "\x00";
  EXPECT_EQ(binary, std::string(expected, sizeof expected - 1));
}

TEST(FormConverter, TextSyntaxAccepted) {
  // Concatenation, #nn and #$hh characters, any case of keywords, comments,
  // LF line ends, hexadecimal integers, lower-case binary digits.
  std::string text =
      "OBJECT f: TF // the form\n"
      "  S = 'a' + #66 + #$43'd'\n"
      "  N = $FF\n"
      "  H = $FFFFFFFF\n"
      "  B = { 0a 0B\n 0c }\n"
      "  Item.Sub.Prop = x.y\n"
      "END\n\x1A";  // an end-of-file mark counts as blank
  EXPECT_EQ(ObjectBinaryToText(ObjectTextToBinary(text)),
            Lines({"object f: TF", "  S = 'aBCd'", "  N = 255", "  H = -1", "  B = {0A0B0C}",
                   "  Item.Sub.Prop = x.y", "end"}));
  // Infinite floats print as -INF (read back as a float) and INF (an identifier).
  std::string infinite = ObjectBinaryToText(ObjectTextToBinary("object f: TF\n A = -1e99999\n B = 1e99999d\nend"));
  EXPECT_EQ(infinite, Lines({"object f: TF", "  A = -INF", "  B = INFd", "end"}));
  EXPECT_EQ(ObjectBinaryToText(ObjectTextToBinary(infinite)), infinite);
}

TEST(FormConverter, ResourceHeader) {
  std::string text = Lines({"object Form1: TForm1", "  Left = 1", "end"});
  std::string binary = ObjectTextToBinary(text);
  std::string resource = ObjectTextToResource(text);
  std::string header = std::string("\xFF\x0A\x00TFORM1\x00\x30\x10", 12) + char(binary.size()) + std::string(3, '\0');
  EXPECT_EQ(resource, header + binary);
  EXPECT_EQ(ReadResHeader(resource), header.size());
  EXPECT_EQ(ObjectResourceToText(resource), text);
  EXPECT_EQ(FormFileToText(resource), text);
  EXPECT_EQ(FormFileToBinary(resource, true), resource);
  EXPECT_EQ(FormFileToBinary(resource, false), binary);
  EXPECT_EQ(FormFileToBinary(binary + "trailing", true), resource);
  EXPECT_EQ(FormFileToBinary(text, false), binary);
  EXPECT_EQ(DetectFormFileKind(binary), TFormFileKind::fkBinary);
  EXPECT_EQ(DetectFormFileKind(resource), TFormFileKind::fkResource);
  EXPECT_EQ(DetectFormFileKind(text), TFormFileKind::fkText);
  // A damaged header names what is wrong.
  EXPECT_NE(ErrorOf<EReadError>([&] { ReadResHeader(resource.substr(0, 8)); }).find("runs past the end"),
            std::string::npos);
  EXPECT_NE(ErrorOf<EReadError>([&] { ObjectResourceToText("\xFF\x05"); }).find("resource header"),
            std::string::npos);
}

TEST(FormConverter, StreamsStopAfterTheObject) {
  std::string binary = ObjectTextToBinary(Lines({"object A: TA", "end"}));
  TMemoryStream in(binary + "rest"), out;
  ObjectBinaryToText(in, out);
  EXPECT_EQ(in.Position(), int64_t(binary.size()));
  EXPECT_EQ(out.DataString(), Lines({"object A: TA", "end"}));
}

TEST(FormConverter, TruncatedOrDamagedBinaryRaises) {
  std::string binary = ObjectTextToBinary(CorpusForm());
  for (size_t n = 0; n < binary.size(); ++n) {
    std::string message = ErrorOf<EReadError>([&] { ObjectBinaryToText(binary.substr(0, n)); });
    ASSERT_NE(message.find("at offset"), std::string::npos) << n << ": " << message;
  }
  // An unknown value tag after the first property name.
  std::string damaged = binary;
  size_t tag = std::string_view(binary).find("Left") + 4;
  damaged[tag] = char(99);
  EXPECT_EQ(ErrorOf<EReadError>([&] { ObjectBinaryToText(damaged); }),
            "Stream read error at offset " + std::to_string(tag) + ": unknown value type 99");
  // Nesting is limited, whatever the input.
  std::string deep = "TPF0\x01T\x00\x01L";
  for (int i = 0; i < 100000; ++i) deep += '\x01';
  EXPECT_NE(ErrorOf<EReadError>([&] { ObjectBinaryToText(deep); }).find("nesting deeper"), std::string::npos);
}

TEST(FormConverter, MalformedTextRaisesWithTheLine) {
  struct Case { std::string text; std::string message; } cases[] = {
      {"", "object expected on line 1"},
      {"object A: TA\n  X = 1\n", "Identifier expected on line 3"},
      {"object A: TA\nend\nend\n", "End of file expected on line 3"},
      {"object A: TA\nend\nobject B: TB\nend\n", "End of file expected on line 3"},
      {"object A: TA\n  X 1\nend", "'=' expected on line 2"},
      {"object A: TA\n  X = 'abc\nend", "Unterminated string on line 2"},
      {"object A: TA\n  X = {ABC}\nend", "Invalid binary value on line 2"},
      {"object A: TA\n  X = (1\nend", "Invalid property value on line 3"},
      {"object A: TA\n  X = <\n  Y = 1\n  end>\nend", "item expected on line 3"},
      {"object A: TA\n  X = 99999999999999999999\nend", "not a valid integer value on line 2"},
      {"object A: TA\n  X = 1.2.3\nend", "not a valid floating point value on line 2"},
      {"object A: TA\n  X = 'a' + 5\nend", "String expected on line 2"},
      {"object A: TA\n  X = (Null)\nend", "Null is not allowed in a list on line 2"},
      {"object A: TA\n  X = #\nend", "Invalid string constant on line 2"},
      {"object A: TA [x]\nend", "Number expected on line 1"},
      {"object A: TA\n  X = [a b]\nend", "',' expected on line 2"},
      {"object A: TA\n  X = " + std::string(3000, '(') + "\nend", "Nesting deeper than 500 levels on line 2"},
      {"object A: " + std::string(300, 'T') + "\nend", "Name longer than 255 characters on line 1"},
      // The length byte of a longer class name would read back as a prefix.
      {"object A: " + std::string(240, 'T') + "\nend", "Class name longer than 239 characters on line 1"},
  };
  for (auto& c : cases) {
    std::string message = ErrorOf<EParserError>([&] { ObjectTextToBinary(c.text); });
    EXPECT_NE(message.find(c.message), std::string::npos) << c.text.substr(0, 40) << " -> " << message;
  }
}
