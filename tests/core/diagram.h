// Board diagrams for tests: rows of 'X' (Black), 'O' (White), '.' (empty),
// written from the top-left corner; missing points are empty.
#pragma once

#include "library/types.h"

#include <initializer_list>
#include <string>

inline Board BoardFromRows(std::initializer_list<std::string> rows) {
    Board b{};
    int y = 0;
    for (const std::string& row : rows) {
        int x = 0;
        for (const char c : row) {
            if (c == ' ') continue;
            b[x + 19 * y] = c == 'X' ? kBlack : c == 'O' ? kWhite : kEmpty;
            ++x;
        }
        ++y;
    }
    return b;
}
