#include "ConfigFileFixture.h"

#include <pugixml.hpp>

#include <sstream>

using namespace kt41::device;
using kt41::config_file::LoadFromFile;
using kt41::config_file::SaveToFile;

namespace {

class Damage {
public:
    explicit Damage(unsigned seed) : random_(seed) {}

    std::size_t Pick(std::size_t size) {
        return std::uniform_int_distribution<std::size_t>(0, size == 0 ? 0 : size - 1)(random_);
    }

    // Byte-level damage: mostly breaks the XML itself.
    std::string Bytes(std::string text) {
        static const std::string alphabet = "<>/=\"'&;!?-+ 0123456789abcxyz\n\xD0\x9A\xFF";
        for (int e = 1 + int(Pick(4)); e > 0; --e) {
            const std::size_t at = Pick(text.size());
            switch (Pick(5)) {
            case 0:
                text[at] = alphabet[Pick(alphabet.size())];
                break;
            case 1:
                text.erase(at, 1 + Pick(40));
                break;
            case 2:
                text.insert(at, 1, alphabet[Pick(alphabet.size())]);
                break;
            case 3:
                text.insert(Pick(text.size()), text.substr(at, 1 + Pick(200)));
                break;
            default:
                text.resize(at);
                break;
            }
        }
        return text;
    }

    // Tree-level damage that keeps the XML well formed: elements removed,
    // renamed, duplicated or moved, and texts replaced by other numbers or words.
    std::string Tree(const std::string& text) {
        pugi::xml_document doc;
        doc.load_string(text.c_str());
        const auto allElements = [&doc] {
            std::vector<pugi::xml_node> all;
            for (const pugi::xpath_node& n : doc.select_nodes("//*")) {
                all.push_back(n.node());
            }
            return all;
        };
        std::vector<pugi::xml_node> elements = allElements();
        static const std::vector<std::string> values{
            "",    "-1",  "65536", "300",  "-32769", "2147483648", "99999999999", "+5",
            " 7 ", "1.5", "x",     "0x10", "007",    "-0",         "\xD0\x9A"};
        for (int e = 1 + int(Pick(6)); e > 0; --e) {
            pugi::xml_node node = elements[Pick(elements.size())];
            if (node == doc.document_element() && Pick(2) == 0) {
                continue; // keep the root most of the time
            }
            switch (Pick(5)) {
            case 0:
                node.parent().remove_child(node);
                break;
            case 1:
                node.set_name(std::string(node.name()).substr(0, Pick(8)).append("X").c_str());
                break;
            case 2:
                node.parent().insert_copy_before(node, node);
                break;
            case 3:
                node.text().set(values[Pick(values.size())].c_str());
                break;
            default:
                elements[Pick(elements.size())].append_move(node);
                break;
            }
            // The tree has changed: look the elements up again.
            elements = allElements();
            if (elements.empty()) {
                break;
            }
        }
        std::ostringstream out;
        doc.save(out, Pick(2) ? "" : "  ", Pick(2) ? pugi::format_raw : pugi::format_indent);
        return out.str();
    }

private:
    std::mt19937 random_;
};

} // namespace

class Robustness : public kt41::testing::ConfigFileTest {};

// Random damage to a valid file: the reader never crashes or hangs, and either
// refuses the file leaving the model as it was, or leaves a model that saves
// and loads back unchanged.
TEST_F(Robustness, RandomlyDamagedFiles) {
    FillRandomly(model, 17);
    const std::string valid = PathOf("valid.c50");
    ASSERT_TRUE(SaveToFile(model, valid));
    const std::string original = ReadText(valid);

    TKT41 untouched{driver};
    FillRandomly(untouched, 5);
    Damage damage(20240611);
    const std::string damaged = PathOf("damaged.c50");
    const std::string again = PathOf("again.c50");
    int accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        WriteText(damaged, round % 2 ? damage.Bytes(original) : damage.Tree(original));
        TKT41 loaded{driver};
        FillRandomly(loaded, 5);
        loaded.NotifyWindow = &sink;
        if (!LoadFromFile(loaded, damaged)) {
            ExpectSameConfiguration(loaded, untouched);
            if (HasFailure()) {
                FAIL() << "round " << round;
            }
            continue;
        }
        ++accepted;
        ASSERT_TRUE(SaveToFile(loaded, again));
        TKT41 reloaded{driver};
        ASSERT_TRUE(LoadFromFile(reloaded, again));
        ExpectSameConfiguration(reloaded, loaded);
        if (HasFailure()) {
            FAIL() << "round " << round;
        }
    }
    // Enough of the damaged files still load for the second half to mean something.
    EXPECT_GT(accepted, 400);
}
