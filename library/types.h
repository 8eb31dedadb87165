// Shared types of the problem library and the rules: the board, point codes,
// the bounds of the data model.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

// 19 x 19 point states (0 empty, 1 Black, 2 White), element x + 19 * y.
using Board = std::array<int16_t, 361>;

// A list of point codes (y * 19 + x) or node numbers. The data model sizes such
// lists at 200 entries; ours grow, so a larger group never overflows.
using PointList = std::vector<int16_t>;
using NodeList = std::vector<int16_t>;

inline constexpr int kBoardSize = 19;
inline constexpr int kPoints = 361;
inline constexpr int16_t kRoot = 2047;    // the pseudo-node of the start position
inline constexpr int kMaxNodes = 1000;    // nodes 0..999
inline constexpr int kMaxChildren = 41;   // children of one node
inline constexpr int kMaxPath = 401;      // moves on one path
inline constexpr int kResultSlots = 1001; // root + 1000 nodes
inline constexpr int kMaxProblemsTotal = 3000;

// The outcome classes a leaf may carry (the rows of the outcome table).
inline constexpr std::array<uint8_t, 29> kOutcomeClasses = {4,  5,  6,  7,  9,  10, 11, 12, 13, 14,
                                                            15, 20, 25, 30, 35, 40, 45, 50, 51, 53,
                                                            54, 55, 56, 57, 58, 59, 60, 61, 62};

inline constexpr int16_t kEmpty = 0;
inline constexpr int16_t kBlack = 1;
inline constexpr int16_t kWhite = 2;
