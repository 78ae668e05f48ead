#include "media/resources/utf16.h"

#include <gtest/gtest.h>

namespace media {
namespace {

TEST(Utf16, RoundTripsEveryPlaneAndReplacesBrokenInput) {
  const std::u16string text = u"Gl\u00f8w \u00c5 \u20ac \U0001F3B5";
  EXPECT_EQ(Utf16ToUtf8(text), "Gl\xc3\xb8w \xc3\x85 \xe2\x82\xac \xf0\x9f\x8e\xb5");
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);

  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xef\xbf\xbd");
  EXPECT_EQ(Utf8ToUtf16("a\xc3"), u"a\ufffd");          // truncated sequence
  EXPECT_EQ(Utf8ToUtf16("\xc0\xaf"), u"\ufffd\ufffd");  // overlong '/'
  EXPECT_EQ(Utf8ToUtf16("\xed\xa0\x80"), u"\ufffd\ufffd\ufffd");  // encoded surrogate
}

TEST(Utf16, LowerCasesLatinLettersOnly) {
  EXPECT_EQ(ToLowerLatin(u"InCBin::Gfx"), u"incbin::gfx");
  EXPECT_EQ(ToLowerLatin(u"\u00c5\u00d7\u00de\u0100"), u"\u00e5\u00d7\u00fe\u0100");
}

}  // namespace
}  // namespace media
