#pragma once

// Dictionary-like random words for the benchmarks that generate their own
// input when the shipped data files are missing. Every draw goes through the
// calling thread's Random, so a fixed seed gives the same words every run.

#include <string>

namespace korvo::bench {

// Relative frequency of word lengths 0..21 in a general English word list.
inline constexpr int kWordLengthWeights[22] = {0,  0,  15, 60, 110, 130, 150, 160, 150, 120, 85,
                                               55, 35, 20, 12, 7,   4,   3,   2,   1,   1,   1};
// English letter frequencies A..Z in hundredths of a percent.
inline constexpr int kLetterWeights[26] = {817, 149, 278, 425, 1270, 223, 202, 609, 697, 15,  77, 403, 241,
                                           675, 751, 193, 10,  599,  633, 906, 276, 98,  236, 15, 197, 7};

// An index 0..n-1 drawn with the relative weights[0..n-1] (their sum > 0).
int DrawWeighted(const int* weights, int n);

// length letters drawn by English letter frequency, from base ('A' or 'a') on.
std::string RandomWord(int length, char base);

}  // namespace korvo::bench
