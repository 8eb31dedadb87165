// A small, strict SGF (FF[4]) reader: bytes in, game trees out.
//
// The reader is a pure function over its input: it allocates nothing beyond
// the limits it is given, never recurses, and reports the first fault with its
// byte offset, line and column. Property values come back with the escapes
// removed (a backslash keeps the next character; a backslash before a line
// break removes the break); line breaks inside values are "\n".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sgf {

struct Property {
    std::string ident;               // upper-case letters, e.g. "AB"
    std::vector<std::string> values; // one entry per [..], escapes removed
    std::size_t offset = 0;          // byte offset of the identifier
};

struct Node {
    std::vector<Property> props;
    int parent = -1;           // index in Tree::nodes, -1 for the root
    std::vector<int> children; // in the order written
    std::size_t offset = 0;    // byte offset of the ';'

    // The property with that identifier, or nullptr.
    const Property* Find(std::string_view ident) const;
};

// One game tree; nodes[0] is its root. A parent always comes before its
// children in `nodes`, and children are in written order.
struct Tree {
    std::vector<Node> nodes;
    std::size_t offset = 0; // byte offset of the '('
};

struct Limits {
    std::size_t maxBytes = 8u << 20; // whole input
    std::size_t maxNodes = 200000;   // all trees together
    std::size_t maxTrees = 10000;
    std::size_t maxNesting = 5000; // open '(' at one time
    std::size_t maxValueBytes = 64u << 10;
    std::size_t maxValuesPerProperty = 1000;
    std::size_t maxPropertiesPerNode = 200;
};

struct Error {
    std::size_t offset = 0;
    int line = 0;   // 1-based
    int column = 0; // 1-based, in characters
    std::string message;
};

// Parses a whole collection (one or more game trees). A UTF-8 byte order mark
// and white space around the trees are allowed; anything else outside a tree
// is an error. On error `trees` holds nothing useful.
bool Parse(std::string_view text, std::vector<Tree>& trees, Error& error,
           const Limits& limits = Limits());

// 1-based line and column (in UTF-8 characters) of a byte offset.
struct Location {
    int line = 1;
    int column = 1;
};
Location LocationOf(std::string_view text, std::size_t offset);

// The same for many offsets of one text (keeps a view of the text).
class LineIndex {
public:
    explicit LineIndex(std::string_view text);
    Location At(std::size_t offset) const;

private:
    std::string_view text_;
    std::vector<std::size_t> starts_;
};

// Writes a value with the characters SGF requires escaped (']', '\\', and ':'
// when `compose` is set).
std::string Escape(std::string_view value, bool compose = false);

} // namespace sgf
