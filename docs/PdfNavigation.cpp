#include "PdfNavigation.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string_view>

namespace kavelto {

namespace {

using Objects = std::map<int, std::string>; // object number to what stands between obj and endobj

// Decimals written the same whatever the locale: a point, two places.
std::string Number(double value) {
    const long long hundredths = std::llround(value * 100.0);
    const long long whole = std::llabs(hundredths);
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld.%02lld", hundredths < 0 ? "-" : "", whole / 100,
                  whole % 100);
    return text;
}

std::string Reference(int object) {
    return std::to_string(object) + " 0 R";
}

// The whole number after key in the text ("/Size 133"), if any, and where it ends.
std::optional<std::pair<int, const char*>> NumberAfter(const std::string& text,
                                                       const std::string& key) {
    const size_t at = text.find(key + ' ');
    if (at == std::string::npos)
        return std::nullopt;
    const char* start = text.c_str() + at + key.size() + 1;
    char* end = nullptr;
    const long number = std::strtol(start, &end, 10);
    if (end == start)
        return std::nullopt;
    return std::pair{static_cast<int>(number), static_cast<const char*>(end)};
}

// The number of the object that key refers to in the text ("/Root 2 0 R"), if any.
std::optional<int> ReferenceAfter(const std::string& text, const std::string& key) {
    const auto number = NumberAfter(text, key);
    if (!number || std::string_view(number->second).substr(0, 4) != " 0 R")
        return std::nullopt;
    return number->first;
}

// Every "N 0 R" of the text, in order.
std::vector<int> References(const std::string& text) {
    std::vector<int> numbers;
    for (size_t at = text.find(" 0 R"); at != std::string::npos; at = text.find(" 0 R", at + 1)) {
        size_t start = at;
        while (start > 0 && std::isdigit(static_cast<unsigned char>(text[start - 1])))
            --start;
        if (start < at)
            numbers.push_back(std::stoi(text.substr(start, at - start)));
    }
    return numbers;
}

// The file as its last cross-reference section describes it.
struct PdfFile {
    explicit PdfFile(const std::string& pdf) : bytes(pdf) {}

    const std::string& bytes;
    size_t crossReference = 0;
    std::map<int, size_t> offsets;
    std::string trailer;

    // Reads the section that "startxref" names; false for a cross-reference stream.
    bool read() {
        const size_t start = bytes.rfind("startxref");
        if (start == std::string::npos)
            return false;
        crossReference = std::strtoul(bytes.c_str() + start + 9, nullptr, 10);
        if (bytes.compare(crossReference, 4, "xref") != 0)
            return false;
        size_t at = bytes.find('\n', crossReference) + 1;
        int first = 0, count = 0, read = 0;
        while (std::sscanf(bytes.c_str() + at, "%d %d\n%n", &first, &count, &read) == 2) {
            at += static_cast<size_t>(read);
            for (int entry = 0; entry < count; ++entry, at += 20) {
                if (bytes.compare(at + 17, 1, "n") == 0)
                    offsets[first + entry] = std::strtoul(bytes.c_str() + at, nullptr, 10);
            }
        }
        const size_t trailerAt = bytes.find("trailer", at);
        if (trailerAt == std::string::npos)
            return false;
        trailer = bytes.substr(trailerAt, start - trailerAt);
        return true;
    }

    // What stands between "N 0 obj" and "endobj"; empty for an object not in use.
    std::string object(int number) const {
        const auto found = offsets.find(number);
        if (found == offsets.end())
            return {};
        const size_t body = bytes.find("obj", found->second) + 3;
        const size_t end = bytes.find("endobj", body);
        return end == std::string::npos ? std::string() : bytes.substr(body, end - body);
    }

    // The page objects in order, through the tree of page lists.
    void collectPages(int node, std::vector<int>& pages) const {
        const std::string dictionary = object(node);
        const size_t kids = dictionary.find("/Kids");
        if (kids == std::string::npos) {
            pages.push_back(node);
            return;
        }
        const size_t open = dictionary.find('[', kids);
        const size_t close = dictionary.find(']', open);
        for (const int kid : References(dictionary.substr(open, close - open)))
            collectPages(kid, pages);
    }
};

// The dictionary with the text put before its closing ">>".
std::optional<std::string> Extended(const std::string& dictionary, const std::string& text) {
    const size_t close = dictionary.rfind(">>");
    if (close == std::string::npos)
        return std::nullopt;
    return dictionary.substr(0, close) + text + dictionary.substr(close);
}

// The page's annotations with the links added: the array object it names rewritten, or the page
// itself where it holds its array or has none.
bool AddAnnotations(const PdfFile& file, int page, const std::string& links, Objects& changed) {
    const std::string dictionary = file.object(page);
    if (const auto array = ReferenceAfter(dictionary, "/Annots")) {
        const std::string annotations = file.object(*array);
        const size_t close = annotations.rfind(']');
        if (close == std::string::npos)
            return false;
        changed[*array] = annotations.substr(0, close) + links + annotations.substr(close);
        return true;
    }
    const size_t annots = dictionary.find("/Annots");
    if (annots != std::string::npos) {
        const size_t close = dictionary.find(']', annots);
        if (close == std::string::npos)
            return false;
        changed[page] = dictionary.substr(0, close) + links + dictionary.substr(close);
        return true;
    }
    const auto extended = Extended(dictionary, "/Annots [" + links + "]\n");
    if (extended)
        changed[page] = *extended;
    return extended.has_value();
}

// A text string as UTF-16 in hexadecimal, with its byte order mark: any title, any script.
std::string TextString(const std::u16string& text) {
    std::string hex = "<FEFF";
    char unit[5];
    for (const char16_t code : text) {
        std::snprintf(unit, sizeof unit, "%04X", static_cast<unsigned>(code));
        hex += unit;
    }
    return hex + '>';
}

// The cross-reference section of the objects written at these offsets, numbered in runs.
std::string CrossReference(const std::map<int, size_t>& offsets) {
    std::string section = "xref\n0 1\n0000000000 65535 f \n";
    for (auto run = offsets.begin(); run != offsets.end();) {
        auto end = run;
        int count = 0;
        while (end != offsets.end() && end->first == run->first + count) {
            ++end;
            ++count;
        }
        section += std::to_string(run->first) + ' ' + std::to_string(count) + '\n';
        char entry[24];
        for (; run != end; ++run) {
            std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", run->second);
            section += entry;
        }
    }
    return section;
}

// Numbers the entries' objects from first on, and writes each under its parent: the last entry
// before it of a lower level, else the outline's root. Every entry is shown open.
void WriteOutline(const std::vector<PdfOutlineEntry>& entries, int root, int first,
                  const std::function<std::string(const PdfPlace&)>& destination,
                  Objects& objects) {
    const int count = static_cast<int>(entries.size());
    std::vector<int> parent(count, -1), descendants(count, 0);
    std::vector<std::vector<int>> children(count + 1); // the root's children last
    for (int entry = 0; entry < count; ++entry) {
        for (int before = entry - 1; before >= 0 && parent[entry] < 0; --before) {
            if (entries[before].level < entries[entry].level)
                parent[entry] = before;
        }
        children[parent[entry] < 0 ? count : parent[entry]].push_back(entry);
    }
    // A parent stands before its children, so counting backwards counts each child whole.
    for (int entry = count - 1; entry >= 0; --entry) {
        if (parent[entry] >= 0)
            descendants[parent[entry]] += 1 + descendants[entry];
    }
    const auto listed = [&](const std::vector<int>& list, int total) {
        if (list.empty())
            return std::string();
        return "/First " + Reference(first + list.front()) + "\n/Last " +
               Reference(first + list.back()) + "\n/Count " + std::to_string(total) + '\n';
    };
    for (int entry = 0; entry < count; ++entry) {
        const std::vector<int>& siblings = children[parent[entry] < 0 ? count : parent[entry]];
        const size_t at = std::find(siblings.begin(), siblings.end(), entry) - siblings.begin();
        std::string body = "<<\n/Title " + TextString(entries[entry].title) + "\n/Parent " +
                           Reference(parent[entry] < 0 ? root : first + parent[entry]) + '\n';
        if (at > 0)
            body += "/Prev " + Reference(first + siblings[at - 1]) + '\n';
        if (at + 1 < siblings.size())
            body += "/Next " + Reference(first + siblings[at + 1]) + '\n';
        body += listed(children[entry], descendants[entry]);
        objects[first + entry] = body + "/Dest " + destination(entries[entry].target) + "\n>>";
    }
    int shown = 0;
    for (const int entry : children[count])
        shown += 1 + descendants[entry];
    objects[root] = "<<\n/Type /Outlines\n" + listed(children[count], shown) + ">>";
}

// Whether every entry's target and every link lie on one of the pages.
bool AllOnPages(const std::vector<PdfOutlineEntry>& entries, const std::vector<PdfLinkArea>& links,
                size_t pages) {
    const auto onAPage = [pages](int page) {
        return page >= 0 && static_cast<size_t>(page) < pages;
    };
    return std::all_of(entries.begin(), entries.end(),
                       [&](const PdfOutlineEntry& entry) { return onAPage(entry.target.page); }) &&
           std::all_of(links.begin(), links.end(), [&](const PdfLinkArea& link) {
               return onAPage(link.page) && onAPage(link.target.page);
           });
}

// The update written after the file's bytes: the objects, their cross-reference section and a
// trailer that chains it to the section before.
std::string Update(const PdfFile& file, const Objects& objects, int size, int root) {
    const std::string& pdf = file.bytes;
    std::string update = pdf.empty() || pdf.back() == '\n' ? "" : "\n";
    std::map<int, size_t> offsets;
    for (const auto& [number, body] : objects) {
        offsets[number] = pdf.size() + update.size();
        update += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
    }
    const size_t crossReference = pdf.size() + update.size();
    update += CrossReference(offsets) + "trailer\n<<\n/Size " + std::to_string(size) + "\n/Root " +
              Reference(root) + '\n';
    if (const auto info = ReferenceAfter(file.trailer, "/Info"))
        update += "/Info " + Reference(*info) + '\n';
    return update + "/Prev " + std::to_string(file.crossReference) + "\n>>\nstartxref\n" +
           std::to_string(crossReference) + "\n%%EOF\n";
}

} // namespace

bool PdfNavigation::appendTo(std::string& pdf) const {
    PdfFile file(pdf);
    if (!file.read())
        return false;
    const auto root = ReferenceAfter(file.trailer, "/Root");
    const auto size = NumberAfter(file.trailer, "/Size");
    if (!root || !size)
        return false;
    const std::string catalog = file.object(*root);
    const auto pageTree = ReferenceAfter(catalog, "/Pages");
    if (!pageTree || catalog.find("/Outlines") != std::string::npos)
        return false;
    std::vector<int> pages;
    file.collectPages(*pageTree, pages);
    if (!AllOnPages(entries_, links_, pages.size()))
        return false;
    const auto destination = [&](const PdfPlace& place) {
        return "[" + Reference(pages[place.page]) + " /XYZ null " +
               Number(pageHeight_ - place.top) + " null]";
    };

    Objects objects;
    int next = size->first;
    const int outline = next++;
    WriteOutline(entries_, outline, next, destination, objects);
    next += static_cast<int>(entries_.size());
    std::map<int, std::string> pageLinks;
    for (const PdfLinkArea& link : links_) {
        objects[next] = "<<\n/Type /Annot\n/Subtype /Link\n/Rect [" + Number(link.left) + ' ' +
                        Number(pageHeight_ - link.bottom) + ' ' + Number(link.right) + ' ' +
                        Number(pageHeight_ - link.top) + "]\n/Border [0 0 0]\n/Dest " +
                        destination(link.target) + "\n>>";
        pageLinks[link.page] += ' ' + Reference(next++);
    }
    for (const auto& [page, links] : pageLinks) {
        if (!AddAnnotations(file, pages[page], links, objects))
            return false;
    }
    const auto named =
        Extended(catalog, "/Outlines " + Reference(outline) + "\n/PageMode /UseOutlines\n");
    if (!named)
        return false;
    objects[*root] = *named;
    pdf += Update(file, objects, next, *root);
    return true;
}

} // namespace kavelto
