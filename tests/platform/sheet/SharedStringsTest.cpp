// The shared-string table as producers write it, read into the texts that
// cells show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sheet/SharedStrings.h"
#include "platform/sheet/SharedStringsScanner.h"
#include "platform/sheet/SheetError.h"
#include "tests/platform/sheet/SheetFixture.h"

namespace wexal::testing {
namespace {

using Texts = std::vector<std::string>;

std::string Sst(const std::string& items) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<sst xmlns=\"" +
           std::string(kMainNamespace) + "\" count=\"1\">" + items + "</sst>";
}

Texts TextsOf(const sheet::SharedStrings& strings) {
    Texts texts;
    for (std::size_t i = 0; i < strings.Count(); ++i) {
        texts.emplace_back(strings[i]);
    }
    return texts;
}

// Every text, or the error's description.
Texts Read(const std::string& xml) {
    try {
        return TextsOf(sheet::ParseSharedStrings(xml, "xl/sharedStrings.xml"));
    } catch (const sheet::SheetError& error) {
        return {"error: " + error.Description()};
    }
}

// Each case also read as it streams in, in pieces of one byte: what the
// scan leaves to the XML parser must come out the same through the parser.
TEST(SharedStringsTest, TextsAreReadAsBefore) {
    const struct {
        const char* what;
        std::string xml;
        Texts texts;
        bool scanned;
    } cases[] = {
        {"entities",
         Sst("<si><t>&lt;a&gt; &amp; &quot;b&quot; &apos;c&apos;</t></si>"),
         {"<a> & \"b\" 'c'"},
         true},
        {"character references, counted modulo 2^32",
         Sst("<si><t>&#65;&#x42;&#x20ac;&#128512;&#4294967363;</t></si>"),
         {"AB\xE2\x82\xAC\xF0\x9F\x98\x80"
          "C"},
         true},
        {"what is no reference stays",
         Sst("<si><t>&nbsp; &#X41; &#x; &am; &#12a; &#x41</t></si>"),
         {"&nbsp; &#X41; &#x; &am; &#12a; &#x41"},
         true},
        {"CDATA and the first text of an element only",
         Sst("<si><t><![CDATA[<b>&amp;]]]></t></si><si><t>a<!--x-->b</t></si>"
             "<si><t><!-- x -->b<![CDATA[c]]></t></si><si><t><b>x</b>y</t></si>"),
         {"<b>&amp;]", "a", "b", "y"},
         false},
        {"runs, their first text, and phonetic guides skipped",
         Sst("<si><r><rPr><b/></rPr><t>Main</t><t>X</t></r><r><t xml:space=\"preserve\"> "
             "St</t></r></si><si><t>\xE6\x9D\xB1</t><rPh sb=\"0\" eb=\"1\"><t>TO</t></rPh>"
             "<phoneticPr fontId=\"1\"/></si>"),
         {"Main St", "\xE6\x9D\xB1"},
         true},
        {"white space",
         Sst("<si><t xml:space=\"preserve\">  two  </t></si><si><t>   </t></si>"
             "<si><t> <!--c--> </t></si><si><t>a\r\nb</t></si><si><t>\t</t><t>\n</t></si>"),
         {"  two  ", "   ", "", "a\r\nb", "\t\n"},
         false},
        {"escapes, also across runs",
         Sst("<si><r><t>_x00</t></r><r><t>41_</t></r></si><si><t>_xD800_ _x005f_</t></si>"),
         {"A", "\xEF\xBF\xBD _"},
         true},
        {"empty items, loose text and other elements",
         Sst("<si/><si><t/></si><si>loose<t>in</t></si><extLst><ext><si><t>no</t></si></ext>"
             "</extLst>"),
         {"", "", "in"},
         false},
        {"empty items and white space between and after items",
         Sst("<si/> <si><t>   </t></si>\r\n<si><t/></si><si><t> a </t></si>\n<si/>"),
         {"", "   ", "", " a ", ""},
         true},
        {"prefixes, a byte-order mark and no declaration",
         "\xEF\xBB\xBF<x:sst xmlns:x=\"" + std::string(kMainNamespace) +
             "\"><x:si><x:t>p</x:t></x:si></x:sst>\r\n",
         {"p"},
         true},
        {"Latin-1 declared",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><sst><si><t>\xE9</t></si></sst>",
         {"\xC3\xA9"},
         false},
        {"a null character ends the text", Sst("<si><t>a&#0;b</t></si>"), {"a"}, true},
        {"a code beyond Unicode", Sst("<si><t>&#x110000;</t></si>"), {"\xF4\x90\x80\x80"}, true},
        {"document type and text after the table",
         "<!DOCTYPE sst><sst><si><t>d</t></si></sst>x",
         {"d"},
         false},
        {"mismatched end",
         Sst("<si><t>a</si>"),
         {"error: The part xl/sharedStrings.xml is damaged: Start-end tags mismatch at offset "
          "148"},
         false},
        {"unclosed",
         "<sst><si>",
         {"error: The part xl/sharedStrings.xml is damaged: Start-end tags mismatch at offset "
          "8"},
         false},
        {"bad attribute",
         "<sst><si a=1/></sst>",
         {"error: The part xl/sharedStrings.xml is damaged: Error parsing element attribute at "
          "offset 11"},
         false},
        {"empty",
         "",
         {"error: The part xl/sharedStrings.xml is damaged: No document element found at offset "
          "0"},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Read(c.xml), c.texts);
        std::size_t at = 0;
        sheet::SharedStrings strings;
        const auto oneByte = [&] {
            return std::string_view(c.xml).substr(std::min(at++, c.xml.size()), 1);
        };
        ASSERT_EQ(sheet::ScanSharedStrings(oneByte, strings), c.scanned);
        if (c.scanned) {
            EXPECT_EQ(TextsOf(strings), c.texts);
        }
    }
}

}  // namespace
}  // namespace wexal::testing
