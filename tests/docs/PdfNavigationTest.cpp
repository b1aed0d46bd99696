#include "PdfNavigation.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <vector>

using namespace kavelto;

namespace {

constexpr double kPageHeight = 800.0;

// A PDF of the shape the manual's writer gives: objects numbered from 1 (1 the information, 2
// the catalog, 3 the page list), one cross-reference table, its trailer. Each page's dictionary
// is given whole, so that a row can give it its annotations or none.
std::string SmallPdf(const std::vector<std::string>& pages) {
    std::vector<std::string> objects = {"<<\n/Title (t)\n>>",
                                        "<<\n/Type /Catalog\n/Pages 3 0 R\n>>"};
    std::string kids;
    for (size_t page = 0; page < pages.size(); ++page)
        kids += std::to_string(4 + page) + " 0 R ";
    objects.push_back("<<\n/Type /Pages\n/Kids [" + kids + "]\n/Count " +
                      std::to_string(pages.size()) + "\n>>");
    objects.insert(objects.end(), pages.begin(), pages.end());
    objects.emplace_back("[ ]"); // the annotations that "/Annots N 0 R" pages name
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t object = 0; object < objects.size(); ++object) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(object + 1) + " 0 obj\n" + objects[object] + "\nendobj\n";
    }
    const size_t table = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    char entry[24];
    for (const size_t offset : offsets) {
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<<\n/Size " + std::to_string(objects.size() + 1) +
           " \n/Info 1 0 R\n/Root 2 0 R\n>>\nstartxref\n" + std::to_string(table) + " \n%%EOF\n";
    return pdf;
}

// A page whose annotations are the array object after the pages (object 4 + pages).
std::string PageWithAnnotationsObject(int pages) {
    return "<<\n/Type /Page\n/Parent 3 0 R\n/Annots " + std::to_string(4 + pages) +
           " 0 R\n/MediaBox [0 0 600 800]\n>>";
}

// The update's objects, by number, read through its own cross-reference section: each offset
// must start "N 0 obj".
std::map<int, std::string> UpdatedObjects(const std::string& pdf) {
    std::map<int, std::string> objects;
    const size_t start = pdf.rfind("startxref");
    size_t at = pdf.find('\n', std::stoul(pdf.substr(start + 10))) + 1;
    int first = 0, count = 0, read = 0;
    while (std::sscanf(pdf.c_str() + at, "%d %d\n%n", &first, &count, &read) == 2) {
        at += read;
        for (int entry = 0; entry < count; ++entry, at += 20) {
            if (pdf[at + 17] == 'f') // the free list's head
                continue;
            const size_t offset = std::stoul(pdf.substr(at, 10));
            const std::string head = std::to_string(first + entry) + " 0 obj\n";
            EXPECT_EQ(pdf.substr(offset, head.size()), head) << "object " << first + entry;
            EXPECT_EQ(pdf[offset - 1], '\n') << "object " << first + entry << " starts no line";
            const size_t end = pdf.find("\nendobj", offset);
            objects[first + entry] = pdf.substr(offset + head.size(), end - offset - head.size());
        }
    }
    return objects;
}

PdfOutlineEntry Entry(const char16_t* title, int level, int page, double top) {
    return {title, level, {page, top}};
}

// The update that the navigation, given its entries and links by add, appends to the pdf: its
// objects by number.
std::map<int, std::string> Updated(std::string& pdf,
                                   const std::function<void(PdfNavigation&)>& add) {
    PdfNavigation navigation(kPageHeight);
    add(navigation);
    return navigation.appendTo(pdf) ? UpdatedObjects(pdf) : std::map<int, std::string>();
}

// Each object holds each of its texts, each ending a line or the object; a text after "!" is
// nowhere in it.
void ExpectHolds(const std::map<int, std::string>& objects,
                 const std::map<int, std::vector<std::string>>& expected) {
    for (const auto& [number, texts] : expected) {
        const auto object = objects.find(number);
        ASSERT_NE(object, objects.end()) << "no object " << number;
        for (const std::string& text : texts) {
            const std::string& o = object->second;
            const bool absent = text[0] == '!';
            const std::string wanted = absent ? text.substr(1) : text;
            const size_t at = o.find(wanted), end = at + wanted.size();
            const bool held =
                at != std::string::npos && (absent || end == o.size() || o[end] == '\n');
            EXPECT_NE(held, absent) << number << ": " << text << " in\n" << o;
        }
    }
}

TEST(PdfNavigationTest, KeepsTheBytesWrittenAndChainsItsSectionToTheirs) {
    const std::string before = SmallPdf({PageWithAnnotationsObject(1)});
    std::string pdf = before;
    ASSERT_FALSE(
        Updated(pdf, [](PdfNavigation& n) { n.addEntry(Entry(u"One", 1, 0, 100)); }).empty());
    EXPECT_EQ(pdf.substr(0, before.size()), before);
    const std::string update = pdf.substr(before.size());
    const std::string oldTable = before.substr(before.rfind("startxref") + 10);
    EXPECT_NE(update.find("/Prev " + std::to_string(std::stoul(oldTable)) + "\n"),
              std::string::npos);
    EXPECT_NE(update.find("/Info 1 0 R\n"), std::string::npos);
    const size_t table = std::stoul(pdf.substr(pdf.rfind("startxref") + 10));
    EXPECT_EQ(pdf.substr(table, 5), "xref\n");
    EXPECT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");
}

// Objects 1 to 5 were there: the outline's root is the first new one, and one entry follows.
TEST(PdfNavigationTest, TheCatalogNamesTheOutlineAndShowsIt) {
    std::string pdf = SmallPdf({PageWithAnnotationsObject(1)});
    ExpectHolds(Updated(pdf, [](PdfNavigation& n) { n.addEntry(Entry(u"One", 1, 0, 100)); }),
                {{2, {"/Pages 3 0 R", "/Outlines 6 0 R", "/PageMode /UseOutlines"}}});
    EXPECT_NE(pdf.find("/Size 8\n"), std::string::npos);
}

// Levels 1, 2, 2, 1, 2: two chapters, their sections under them, siblings chained. Root 6; A 7,
// A1 8, A2 9, B 10, B1 11.
TEST(PdfNavigationTest, SectionsGoUnderTheirChapter) {
    std::string pdf = SmallPdf({PageWithAnnotationsObject(1)});
    ExpectHolds(Updated(pdf,
                        [](PdfNavigation& n) {
                            for (const auto& [title, level] :
                                 std::vector<std::pair<const char16_t*, int>>{
                                     {u"A", 1}, {u"A1", 2}, {u"A2", 2}, {u"B", 1}, {u"B1", 2}})
                                n.addEntry(Entry(title, level, 0, 10));
                        }),
                {{6, {"/Type /Outlines", "/First 7 0 R", "/Last 10 0 R", "/Count 5"}},
                 {7, {"/Parent 6 0 R", "/Next 10 0 R", "/First 8 0 R", "/Last 9 0 R", "/Count 2"}},
                 {8, {"/Parent 7 0 R", "/Next 9 0 R", "!/First", "!/Prev"}},
                 {9, {"/Parent 7 0 R", "/Prev 8 0 R", "!/First", "!/Next"}},
                 {10, {"/Parent 6 0 R", "/Prev 7 0 R", "/First 11 0 R", "/Count 1"}},
                 {11, {"/Parent 10 0 R", "!/First"}}});
}

// Objects 1 to 6 were there (two pages, the annotations): the entry is 8, after its root.
TEST(PdfNavigationTest, TitlesAreUtf16AndTargetsCountFromThePageBottom) {
    std::string pdf = SmallPdf({PageWithAnnotationsObject(2), PageWithAnnotationsObject(2)});
    ExpectHolds(
        Updated(pdf,
                [](PdfNavigation& n) { n.addEntry(Entry(u"Kal \u00c4\u2014", 1, 1, 123.456)); }),
        {{8, {"/Title <FEFF004B0061006C002000C42014>", "/Dest [5 0 R /XYZ null 676.54 null]"}}});
}

// A file whose last line has no line end, as some writers leave it, and a link at the page's
// left edge: the update starts on a line of its own, and zero has no sign.
TEST(PdfNavigationTest, StartsOnANewLineAndWritesZeroPlainly) {
    std::string pdf = SmallPdf({PageWithAnnotationsObject(1)});
    pdf.pop_back();
    const size_t written = pdf.size();
    const auto objects = Updated(pdf, [](PdfNavigation& n) {
        n.addLink({0, 0.0, 100, 550, 112, {0, 800}});
    });
    EXPECT_EQ(pdf.substr(written - 5, 6), "%%EOF\n");
    ExpectHolds(objects,
                {{7, {"/Rect [0.00 688.00 550.00 700.00]", "/Dest [4 0 R /XYZ null 0.00 null]"}}});
}

// A link on the first page to a place on the second; the page's annotations take it, wherever
// the page keeps them.
struct LinkRow {
    const char* name;
    std::string firstPage;
    int changedObject; // the object rewritten to hold the link
    std::string annotations;
};

class PdfLinkTest : public ::testing::TestWithParam<LinkRow> {};

// Objects 1 to 6 were there; the outline's root, empty, is 7 and the link 8.
TEST_P(PdfLinkTest, ThePageListsTheLinkToItsTarget) {
    const LinkRow& row = GetParam();
    std::string pdf = SmallPdf({row.firstPage, PageWithAnnotationsObject(2)});
    ExpectHolds(Updated(pdf,
                        [](PdfNavigation& n) {
                            n.addLink({0, 50, 100, 550, 112, {1, 40}});
                        }),
                {{7, {"/Type /Outlines", "!/First"}},
                 {8,
                  {"/Subtype /Link", "/Rect [50.00 688.00 550.00 700.00]",
                   "/Dest [5 0 R /XYZ null 760.00 null]"}},
                 {row.changedObject, {row.annotations}}});
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PdfLinkTest,
    ::testing::Values(LinkRow{"AnnotationsObject", PageWithAnnotationsObject(2), 6, "[  8 0 R]"},
                      LinkRow{"AnnotationsInline", "<<\n/Type /Page\n/Annots [9 0 R]\n>>", 4,
                              "/Annots [9 0 R 8 0 R]"},
                      LinkRow{"NoAnnotations", "<<\n/Type /Page\n/Parent 3 0 R\n>>", 4,
                              "/Parent 3 0 R\n/Annots [ 8 0 R]\n>>"}),
    [](const auto& info) { return info.param.name; });

// What the update can't be written into leaves the bytes as they were.
struct RefusedRow {
    const char* name;
    std::string pdf;
    PdfPlace target;
};

class PdfRefusedTest : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(PdfRefusedTest, LeavesTheFileAlone) {
    const RefusedRow& row = GetParam();
    std::string pdf = row.pdf;
    PdfNavigation navigation(kPageHeight);
    navigation.addEntry({u"A", 1, row.target});
    EXPECT_FALSE(navigation.appendTo(pdf));
    EXPECT_EQ(pdf, row.pdf);
}

std::string WithCrossReferenceStream() {
    std::string pdf = SmallPdf({PageWithAnnotationsObject(1)});
    return pdf.substr(0, pdf.find("xref\n")) + "7 0 obj\n<< /Type /XRef >>\nendobj\nstartxref\n" +
           std::to_string(pdf.find("xref\n")) + "\n%%EOF\n";
}

std::string WithOutline() {
    std::string pdf = SmallPdf({PageWithAnnotationsObject(1)});
    const size_t catalog = pdf.find("/Type /Catalog");
    // The same length, so that the offsets hold.
    return pdf.replace(catalog, 14, "/Outlines 9 0R");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PdfRefusedTest,
    ::testing::Values(
        RefusedRow{"CrossReferenceStream", WithCrossReferenceStream(), {0, 10}},
        RefusedRow{"OutlineAlready", WithOutline(), {0, 10}},
        RefusedRow{"TargetBeyondLastPage", SmallPdf({PageWithAnnotationsObject(1)}), {1, 10}},
        RefusedRow{"NotAPdf", "plain text\n", {0, 10}}),
    [](const auto& info) { return info.param.name; });

} // namespace
