// The text store against a plain string: after every edit of a table of
// edit sequences (and of a long seeded run of random edits), the text and
// every line query agree with a straightforward scan of the same text.
#include "document/editor/TextStore.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace moke::editor {
namespace {

struct Edit {
    bool insert;
    std::size_t position;
    std::u16string text;  // insert
    std::size_t count;    // erase
};

// Line starts of a text by a plain scan: a line ends at LF.
std::vector<std::size_t> ScanStarts(const std::u16string& text) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == u'\n') starts.push_back(i + 1);
    return starts;
}
// The end of a line's characters: before the LF and up to two CRs before it.
std::size_t ScanEnd(const std::u16string& text, const std::vector<std::size_t>& starts, std::size_t line) {
    if (line + 1 >= starts.size()) return text.size();
    std::size_t end = starts[line + 1] - 1;
    for (int cr = 0; cr < 2 && end > starts[line] && text[end - 1] == u'\r'; ++cr) --end;
    return end;
}

void ExpectSame(const TextStore& store, const std::u16string& model, const std::string& where) {
    SCOPED_TRACE(where);
    ASSERT_EQ(store.Length(), model.size());
    ASSERT_TRUE(store.Substr(0, model.size()) == model);
    const auto starts = ScanStarts(model);
    ASSERT_EQ(store.LineCount(), starts.size());
    for (std::size_t line = 0; line < starts.size(); ++line) {
        ASSERT_EQ(store.LineStart(line), starts[line]) << "line " << line;
        ASSERT_EQ(store.LineEnd(line), ScanEnd(model, starts, line)) << "line " << line;
    }
    for (std::size_t p = 0; p <= model.size(); ++p) {
        std::size_t expected = 0;
        while (expected + 1 < starts.size() && starts[expected + 1] <= p) ++expected;
        ASSERT_EQ(store.LineFromPosition(p), expected) << "position " << p;
    }
}

struct Case {
    const char* name;
    std::u16string initial;
    std::vector<Edit> edits;
};

TEST(TextStore, EditSequencesKeepTextAndLines) {
    const Case cases[] = {
        {"typing into an empty text", u"", {{true, 0, u"a", 0}, {true, 1, u"b", 0}, {true, 1, u"\r\n", 0}}},
        {"a line break typed in the middle", u"abc\r\ndef", {{true, 1, u"\r\n", 0}, {true, 7, u"\r\n", 0}}},
        {"insert between CR and LF splits the break", u"ab\r\ncd", {{true, 3, u"x", 0}, {false, 3, u"", 1}}},
        {"a CR inserted before an LF makes a break", u"ab\ncd", {{true, 2, u"\r", 0}}},
        {"an LF inserted after a CR makes a break", u"ab\rcd", {{true, 3, u"\n", 0}}},
        {"erasing the CR LF joins lines", u"a\r\nb\r\nc", {{false, 1, u"", 2}, {false, 2, u"", 2}}},
        {"erasing what lay between a CR and an LF", u"a\rxx\nb", {{false, 2, u"", 2}}},
        {"erasing half of a break", u"a\r\nb", {{false, 2, u"", 1}, {true, 2, u"\n", 0}}},
        {"Japanese and surrogate pairs", u"日本語\r\n\U0001F600x",
         {{true, 3, u"\U0001F600", 0}, {false, 0, u"", 2}, {true, 0, u"\r\n\r\n", 0}}},
        {"edits far apart, back and forth", u"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8",
         {{true, 21, u"z\r\n", 0}, {true, 0, u"a", 0}, {false, 10, u"", 5}, {true, 3, u"\r\n\r\n", 0},
          {false, 0, u"", 4}, {true, 100, u"end", 0}}},
        {"erase everything", u"a\r\nb\r\n", {{false, 0, u"", 100}}},
        {"CR CR LF is one break, a third CR is a character", u"a\r\r\nb\r\r\r\nc\n\rd",
         {{false, 1, u"", 1}, {true, 0, u"\r", 0}}},
    };
    for (const Case& c : cases) {
        TextStore store;
        store.Assign(c.initial);
        std::u16string model = c.initial;
        ExpectSame(store, model, std::string(c.name) + ": assigned");
        for (std::size_t i = 0; i < c.edits.size(); ++i) {
            const Edit& e = c.edits[i];
            const std::size_t p = std::min(e.position, model.size());
            if (e.insert) {
                store.Insert(e.position, e.text);
                model.insert(p, e.text);
            } else {
                store.Erase(e.position, e.count);
                model.erase(p, std::min(e.count, model.size() - p));
            }
            ExpectSame(store, model, std::string(c.name) + ": edit " + std::to_string(i));
        }
    }
}

TEST(TextStore, RandomEditsAgreeWithAPlainString) {
    std::mt19937 random(12345);
    const std::u16string pieces[] = {u"a", u"\r", u"\n", u"\r\n", u"xy\r\nz", u"日", u"\r\n\r\n", u"long text"};
    TextStore store;
    std::u16string model;
    for (int step = 0; step < 3000; ++step) {
        const std::size_t p = model.empty() ? 0 : random() % (model.size() + 1);
        if (random() % 3 != 0 || model.empty()) {
            const std::u16string& piece = pieces[random() % std::size(pieces)];
            store.Insert(p, piece);
            model.insert(p, piece);
        } else {
            const std::size_t n = random() % 6;
            store.Erase(p, n);
            model.erase(p, std::min(n, model.size() - p));
        }
        if (step % 50 == 0) ExpectSame(store, model, "step " + std::to_string(step));
    }
    ExpectSame(store, model, "end");
}

TEST(TextStore, ContiguousSpansAndCopiesAcrossTheGap) {
    TextStore store;
    store.Assign(u"0123456789");
    store.Insert(5, u"ab"); // the gap now sits after "01234ab"
    const struct { std::size_t position, count; std::u16string expected; } spans[] = {
        {0, 3, u"012"}, {4, 5, u"4ab56"}, {6, 20, u"b56789"}, {12, 5, u""},
    };
    for (const auto& s : spans) {
        EXPECT_TRUE(store.Substr(s.position, s.count) == s.expected) << s.position;
        const char16_t* span = store.Contiguous(s.position, s.count);
        EXPECT_TRUE(std::u16string(span, s.expected.size()) == s.expected) << s.position;
    }
}

} // namespace
} // namespace moke::editor
