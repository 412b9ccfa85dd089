// The manuals F1 opens must be beside the executable after every build, be PDF files a viewer
// accepts, have real pages, and carry the product name where a viewer shows it (the title).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The document's /Title as plain text. Qt writes PDF text strings as UTF-16BE with a byte-order
// mark; characters outside Latin-1 come back as '?', which is enough to find the product name.
std::string Title(const std::string& pdf) {
    const auto at = pdf.find("/Title (");
    if (at == std::string::npos)
        return {};
    std::string raw;
    for (auto i = at + 8; i < pdf.size() && pdf[i] != ')'; ++i) {
        if (pdf[i] == '\\' && i + 1 < pdf.size())
            ++i;
        raw += pdf[i];
    }
    if (raw.size() < 2 || raw.compare(0, 2, "\xFE\xFF") != 0)
        return raw;
    std::string text;
    for (std::size_t i = 2; i + 1 < raw.size(); i += 2)
        text += raw[i] == 0 ? raw[i + 1] : '?';
    return text;
}

// Page objects: "/Type /Page" (blanks between the two names allowed), but not "/Type /Pages".
int CountPageObjects(const std::string& pdf) {
    int count = 0;
    for (std::size_t at = pdf.find("/Type"); at != std::string::npos; at = pdf.find("/Type", at + 1)) {
        std::size_t next = at + 5;
        while (next < pdf.size() && (pdf[next] == ' ' || pdf[next] == '\n' || pdf[next] == '\r'))
            ++next;
        if (pdf.compare(next, 5, "/Page") == 0 && (next + 5 >= pdf.size() || pdf[next + 5] != 's'))
            ++count;
    }
    return count;
}

class ManualPdf : public ::testing::TestWithParam<const char*> {};

TEST_P(ManualPdf, IsAPdfWithPagesTitledWithTheProductName) {
    const std::string path = std::string(ZEVO_MANUAL_DIR) + "/" + GetParam();
    const std::string pdf = ReadAll(path);
    ASSERT_FALSE(pdf.empty()) << path << " is missing or empty";
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u) << path;
    EXPECT_NE(pdf.find("%%EOF"), std::string::npos) << path << " is cut short";

    const int pages = CountPageObjects(pdf);
    // A title page and the manual itself: a source that lost its text would give one or two.
    EXPECT_GE(pages, 4) << path;

    EXPECT_NE(Title(pdf).find("ZEVO"), std::string::npos) << path << " title: " << Title(pdf);
}

INSTANTIATE_TEST_SUITE_P(BesideTheExecutable, ManualPdf,
                         ::testing::Values("ZEVO_manual_en.pdf", "ZEVO_manual_cz.pdf"));

TEST(ManualPdf, CzechAndEnglishAreDifferentDocuments) {
    const std::string dir = std::string(ZEVO_MANUAL_DIR) + "/";
    EXPECT_NE(Title(ReadAll(dir + "ZEVO_manual_en.pdf")), Title(ReadAll(dir + "ZEVO_manual_cz.pdf")));
}

} // namespace
