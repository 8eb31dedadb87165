#include "sgf/sgf.h"

namespace sgf {

const Property* Node::Find(std::string_view ident) const {
    for (const Property& p : props)
        if (p.ident == ident) return &p;
    return nullptr;
}

LineIndex::LineIndex(std::string_view text) : text_(text) {
    starts_.push_back(0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            starts_.push_back(i + 1);
    }
}

Location LineIndex::At(std::size_t offset) const {
    if (offset > text_.size()) offset = text_.size();
    std::size_t lo = 0;
    std::size_t hi = starts_.size();
    while (hi - lo > 1) {
        const std::size_t mid = (lo + hi) / 2;
        if (starts_[mid] <= offset)
            lo = mid;
        else
            hi = mid;
    }
    Location loc;
    loc.line = static_cast<int>(lo) + 1;
    for (std::size_t i = starts_[lo]; i < offset; ++i) {
        const unsigned char c = static_cast<unsigned char>(text_[i]);
        if ((c & 0xC0) != 0x80 && c != '\r') // the CR of a CR LF takes no column
            ++loc.column;
    }
    return loc;
}

Location LocationOf(std::string_view text, std::size_t offset) {
    Location loc;
    if (offset > text.size()) offset = text.size();
    for (std::size_t i = 0; i < offset; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++loc.line;
            loc.column = 1;
        } else if (c == '\r') {
            // A lone CR is a line break too; CR LF counts once (at the LF).
            if (i + 1 < text.size() && text[i + 1] == '\n') continue;
            ++loc.line;
            loc.column = 1;
        } else if ((c & 0xC0) != 0x80) {
            ++loc.column; // continuation bytes do not start a character
        }
    }
    return loc;
}

std::string Escape(std::string_view value, bool compose) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        if (c == ']' || c == '\\' || (compose && c == ':')) out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

class Parser {
public:
    Parser(std::string_view text, std::vector<Tree>& trees, Error& error, const Limits& limits)
        : text_(text), trees_(trees), error_(error), limits_(limits) {}

    bool Run();

private:
    bool Fail(std::size_t offset, std::string message) {
        const Location loc = LocationOf(text_, offset);
        error_.offset = offset;
        error_.line = loc.line;
        error_.column = loc.column;
        error_.message = std::move(message);
        trees_.clear();
        return false;
    }
    void SkipSpace() {
        while (pos_ < text_.size() && IsSpace(text_[pos_]))
            ++pos_;
    }
    bool ParseNode(Tree& tree, int parent, int& created);
    bool ParseValue(std::string& value);

    std::string_view text_;
    std::vector<Tree>& trees_;
    Error& error_;
    const Limits& limits_;
    std::size_t pos_ = 0;
    std::size_t nodeCount_ = 0;
};

bool Parser::ParseValue(std::string& value) {
    // At '['.
    const std::size_t start = pos_;
    ++pos_;
    value.clear();
    while (true) {
        if (pos_ >= text_.size()) return Fail(start, "property value not closed: ']' missing");
        char c = text_[pos_];
        if (c == ']') {
            ++pos_;
            return true;
        }
        if (c == '\\') {
            ++pos_;
            if (pos_ >= text_.size()) return Fail(start, "property value not closed: ']' missing");
            c = text_[pos_];
            if (c == '\n' || c == '\r') {
                // Soft line break: the break is removed.
                const char other = c == '\n' ? '\r' : '\n';
                ++pos_;
                if (pos_ < text_.size() && text_[pos_] == other) ++pos_;
                continue;
            }
            ++pos_;
        } else if (c == '\r') {
            // Line breaks inside values come back as "\n".
            ++pos_;
            if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
            c = '\n';
        } else {
            ++pos_;
        }
        if (value.size() >= limits_.maxValueBytes)
            return Fail(start, "property value longer than " +
                                   std::to_string(limits_.maxValueBytes) + " bytes");
        value.push_back(c);
    }
}

bool Parser::ParseNode(Tree& tree, int parent, int& created) {
    // At ';'.
    if (nodeCount_ >= limits_.maxNodes)
        return Fail(pos_, "more than " + std::to_string(limits_.maxNodes) + " nodes");
    ++nodeCount_;
    Node node;
    node.parent = parent;
    node.offset = pos_;
    ++pos_;
    while (true) {
        SkipSpace();
        if (pos_ >= text_.size()) break;
        const char c = text_[pos_];
        if (c >= 'A' && c <= 'Z') {
            Property prop;
            prop.offset = pos_;
            while (pos_ < text_.size() && text_[pos_] >= 'A' && text_[pos_] <= 'Z') {
                if (prop.ident.size() >= 16) return Fail(prop.offset, "property name too long");
                prop.ident.push_back(text_[pos_++]);
            }
            if (pos_ < text_.size() && text_[pos_] >= 'a' && text_[pos_] <= 'z')
                return Fail(pos_, "lower-case letter in property name '" + prop.ident +
                                      "' (property names are upper-case)");
            for (const Property& other : node.props)
                if (other.ident == prop.ident)
                    return Fail(prop.offset, "property " + prop.ident + " given twice in one node");
            if (node.props.size() >= limits_.maxPropertiesPerNode)
                return Fail(prop.offset, "too many properties in one node");
            SkipSpace();
            if (pos_ >= text_.size() || text_[pos_] != '[')
                return Fail(pos_, "property " + prop.ident + " has no value ('[' expected)");
            while (pos_ < text_.size() && text_[pos_] == '[') {
                if (prop.values.size() >= limits_.maxValuesPerProperty)
                    return Fail(pos_, "too many values for property " + prop.ident);
                std::string value;
                if (!ParseValue(value)) return false;
                prop.values.push_back(std::move(value));
                SkipSpace();
            }
            node.props.push_back(std::move(prop));
        } else if (c == ';' || c == '(' || c == ')') {
            break;
        } else if (c >= 'a' && c <= 'z') {
            return Fail(pos_, "lower-case letter where a property name was expected "
                              "(property names are upper-case)");
        } else if (c == '[') {
            return Fail(pos_, "property value without a property name");
        } else {
            return Fail(pos_, std::string("unexpected character '") + c +
                                  "' (a property name, ';', '(' or ')' was expected)");
        }
    }
    created = static_cast<int>(tree.nodes.size());
    if (parent >= 0) tree.nodes[static_cast<std::size_t>(parent)].children.push_back(created);
    tree.nodes.push_back(std::move(node));
    return true;
}

bool Parser::Run() {
    trees_.clear();
    if (text_.size() > limits_.maxBytes)
        return Fail(0, "file larger than " + std::to_string(limits_.maxBytes) + " bytes");
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;

    while (true) {
        SkipSpace();
        if (pos_ >= text_.size()) break;
        if (text_[pos_] != '(') return Fail(pos_, "'(' expected at the start of a game tree");
        if (trees_.size() >= limits_.maxTrees)
            return Fail(pos_, "more than " + std::to_string(limits_.maxTrees) + " game trees");

        Tree tree;
        tree.offset = pos_;
        // Each open '(' remembers the node its variation hangs from and where
        // it was opened.
        struct Open {
            int parent;
            std::size_t offset;
            bool sawVariation; // a ')' closed a variation inside it
        };
        std::vector<Open> stack;
        int current = -1;
        while (true) {
            SkipSpace();
            if (pos_ >= text_.size())
                return Fail(stack.empty() ? tree.offset : stack.back().offset,
                            "game tree not closed: ')' missing");
            const char c = text_[pos_];
            if (c == '(') {
                if (stack.size() >= limits_.maxNesting)
                    return Fail(pos_, "variations nested too deeply");
                stack.push_back({current, pos_, false});
                ++pos_;
                SkipSpace();
                if (pos_ >= text_.size() || text_[pos_] != ';')
                    return Fail(pos_, "';' expected: a game tree starts with a node");
                int created = -1;
                if (!ParseNode(tree, current, created)) return false;
                current = created;
            } else if (c == ';') {
                if (stack.empty()) return Fail(pos_, "node outside a game tree");
                if (stack.back().sawVariation)
                    return Fail(
                        pos_, "node after variations (a node must come before its '(' variations)");
                int created = -1;
                if (!ParseNode(tree, current, created)) return false;
                current = created;
            } else if (c == ')') {
                current = stack.back().parent;
                stack.pop_back();
                ++pos_;
                if (stack.empty()) break;
                stack.back().sawVariation = true;
            } else {
                return Fail(pos_, std::string("unexpected character '") + c +
                                      "' (';', '(' or ')' was expected)");
            }
        }
        trees_.push_back(std::move(tree));
    }
    return true;
}

} // namespace

bool Parse(std::string_view text, std::vector<Tree>& trees, Error& error, const Limits& limits) {
    error = Error();
    return Parser(text, trees, error, limits).Run();
}

} // namespace sgf
