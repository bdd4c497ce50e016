// The random block pattern every new grid starts with: a few block shapes
// placed in boxes along the edges and diagonals, each box copied to its image
// under a half-turn about the grid's centre.
//
// Every random number is a fresh R(n) = Random::Next() % n, drawn in a fixed
// order, so that one seed always gives one pattern.
#include <algorithm>
#include <cstdlib>

#include "engine/fill_engine.h"
#include "platform/random.h"

namespace korvo {

namespace {

// Redraw loops ("draw again until the position fits") are bounded: a shape
// first checks that some position of its range fits at all; if none does the
// shape is left out (an unbounded loop would never end there, which happens
// for some larger sizes where boxes overlap). Otherwise it draws up to this
// many times and, should every draw miss, takes the first fitting position in
// scan order. With a fitting position among at most four, the random draws
// find it long before the bound, so the bound changes no ordinary pattern.
constexpr int kRedrawLimit = 1000;

int R(int n) { return Random::Next() % n; }

// The grid side during one MakeBlockPattern call.
int Side(const FillEngine& e) { return e.rows; }

bool Inside(const FillEngine& e, int i, int j) { return i >= 0 && i < Side(e) && j >= 0 && j < Side(e); }

// Squares outside the grid read as open and are never written, so shapes
// that reach past the edge of sizes such as 16 or 22 stay inside workGrid.
bool IsBlock(const FillEngine& e, int i, int j) { return Inside(e, i, j) && e.Square(i, j) == kBlock; }
bool IsOpen(const FillEngine& e, int i, int j) { return Inside(e, i, j) && e.Square(i, j) == kOpen; }

void PutBlock(FillEngine& e, int i, int j) {
    if (Inside(e, i, j)) e.Square(i, j) = kBlock;
}

// Draws base + R(n) until fits(position) holds; -1 when no position of
// base .. base + n - 1 fits (see kRedrawLimit).
template <typename Fits>
int DrawFitting(int base, int n, Fits fits) {
    bool any = false;
    for (int k = 0; k < n && !any; ++k) any = fits(base + k);
    if (!any) return -1;
    for (int attempt = 0; attempt < kRedrawLimit; ++attempt) {
        const int p = base + R(n);
        if (fits(p)) return p;
    }
    for (int k = 0; k < n; ++k)
        if (fits(base + k)) return base + k;
    return -1;
}

// Copies every square of the n x n box at (r0, c0), blocks and open squares
// alike, to its half-turn image, row by row.
void RotateCopy(FillEngine& e, int r0, int c0, int n) {
    const int N = Side(e);
    for (int i = r0; i < r0 + n; ++i)
        for (int j = c0; j < c0 + n; ++j)
            if (Inside(e, i, j) && Inside(e, N - 1 - i, N - 1 - j)) e.Square(N - 1 - i, N - 1 - j) = e.Square(i, j);
}

// A bar of n blocks down from the top edge in a column c0 .. c0 + n - 1
// whose neighbours just below the bar are open; with extras, maybe a block
// beside its top square.
void VerticalBar(FillEngine& e, int c0, int n, bool extras) {
    const int N = Side(e);
    const int j = DrawFitting(
        c0, n, [&](int c) { return !((c > 0 && IsBlock(e, n, c - 1)) || (c < N - 1 && IsBlock(e, n, c + 1))); });
    if (j < 0) return;
    for (int i = 0; i < n; ++i) PutBlock(e, i, j);
    if (!extras) return;
    if (j != c0 && R(3) == 0) PutBlock(e, 0, j - 1);
    if (j != c0 + n - 1 && R(3) == 0) PutBlock(e, 0, j + 1);
}

// A bar of n blocks in from the left edge in a row r0 .. r0 + n - 1 whose
// neighbours just right of the bar are open; with extras, maybe a block
// above or below its first square. The first draw is made and discarded.
void HorizontalBar(FillEngine& e, int r0, int n, bool extras) {
    const int N = Side(e);
    (void)R(n);
    const int i = DrawFitting(
        r0, n, [&](int r) { return !((r > 0 && IsBlock(e, r - 1, n)) || (r < N - 1 && IsBlock(e, r + 1, n))); });
    if (i < 0) return;
    for (int j = 0; j < n; ++j) PutBlock(e, i, j);
    if (!extras) return;
    if (i != r0 && R(3) == 0) PutBlock(e, i - 1, 0);
    if (i != r0 + n - 1 && R(3) == 0) PutBlock(e, i + 1, 0);
}

// One more block in the n x n box at (r0, c0) next to at least two blocks of
// the box, where it neither closes off an edge run nor seals a corner; up to
// n x n random attempts.
void BoxExtra(FillEngine& e, int r0, int c0, int n) {
    const int lastRow = r0 + n - 1;
    const int lastColumn = c0 + n - 1;
    auto inBox = [&](int i, int j) { return i >= r0 && i <= lastRow && j >= c0 && j <= lastColumn; };
    auto boxBlock = [&](int i, int j) { return inBox(i, j) && IsBlock(e, i, j); };
    for (int attempt = 0; attempt < n * n; ++attempt) {
        const int i = r0 + R(n);
        const int j = c0 + R(n);
        const bool above = boxBlock(i - 1, j);
        const bool below = boxBlock(i + 1, j);
        const bool left = boxBlock(i, j - 1);
        const bool right = boxBlock(i, j + 1);
        const int count = above + below + left + right;
        if (count < 2) continue;
        if (left && right && (i == r0 || i == lastRow)) continue;
        if (above && below && (j == c0 || j == lastColumn)) continue;
        const bool rowEnd = i == r0 || i == lastRow;
        const bool columnEnd = j == c0 || j == lastColumn;
        if (!(rowEnd && columnEnd)) {
            PutBlock(e, i, j);
            return;
        }
        const int otherColumn = j == c0 ? lastColumn : c0;
        const int otherRow = i == r0 ? lastRow : r0;
        if (!IsBlock(e, i, otherColumn) && !IsBlock(e, otherRow, j)) {
            PutBlock(e, i, j);
            return;
        }
    }
}

// n blocks in different rows and columns of the n x n box at (r0, c0) (for
// n = 3 sometimes a plus instead), then up to two extra blocks.
void BoxBlocks(FillEngine& e, int r0, int c0, int n) {
    auto rowFree = [&](int i) {
        for (int j = c0; j < c0 + n; ++j)
            if (IsBlock(e, i, j)) return false;
        return true;
    };
    auto columnFree = [&](int j) {
        for (int i = r0; i < r0 + n; ++i)
            if (IsBlock(e, i, j)) return false;
        return true;
    };
    for (int k = n; k > 0;) {
        const int i = DrawFitting(r0, n, rowFree);
        if (i < 0) break;
        const int j = DrawFitting(c0, n, columnFree);
        if (j < 0) break;
        PutBlock(e, i, j);
        --k;
        if (k == 1 && n == 3 && R(3) == 0 && IsOpen(e, r0, c0) && IsOpen(e, r0, c0 + 2) && IsOpen(e, r0 + 2, c0) &&
            IsOpen(e, r0 + 2, c0 + 2)) {
            for (int c = c0; c < c0 + 3; ++c) PutBlock(e, r0 + 1, c);
            PutBlock(e, r0, c0 + 1);
            PutBlock(e, r0 + 2, c0 + 1);
            return;
        }
    }
    const int attempts = std::min(3, n * n * n);
    int made = 0;
    for (int a = 0; a < attempts && made < 2; ++a) {
        if (R(n) == 0) {
            BoxExtra(e, r0, c0, n);
            ++made;
        }
    }
}

// Whether a block at (i, j) (and its partner) would break a fully open line:
// it needs three open squares on both sides across the line, no diagonal pair
// of blocks through it, and a partner not within two squares along the line.
// rowLine: the line is row i and the squares tested lie in column j.
bool BreakFits(const FillEngine& e, int i, int j, bool rowLine) {
    const int N = Side(e);
    for (int d = 1; d <= 3; ++d) {
        if (rowLine) {
            if (!IsOpen(e, i - d, j) || !IsOpen(e, i + d, j)) return false;
        } else {
            if (!IsOpen(e, i, j - d) || !IsOpen(e, i, j + d)) return false;
        }
    }
    if (IsBlock(e, i - 1, j - 1) && IsBlock(e, i + 1, j + 1)) return false;
    if (IsBlock(e, i + 1, j - 1) && IsBlock(e, i - 1, j + 1)) return false;
    const int pi = N - 1 - i;
    const int pj = N - 1 - j;
    if (pi == i && std::abs(pj - j) > 0 && std::abs(pj - j) < 3) return false;
    if (pj == j && std::abs(pi - i) > 0 && std::abs(pi - i) < 3) return false;
    return true;
}

// Puts a block pair into every row, then every column, that is still
// completely open, near a random position of the line.
void BreakOpenRuns(FillEngine& e) {
    const int N = Side(e);
    if (N < 7) return;
    for (int pass = 0; pass < 2; ++pass) {
        const bool rows = pass == 0;
        for (int line = 0; line < N; ++line) {
            bool open = true;
            for (int k = 0; k < N && open; ++k) open = rows ? IsOpen(e, line, k) : IsOpen(e, k, line);
            if (!open) continue;
            const int start = std::clamp(3 + R(N - 6), 3, N - 4);
            auto tryAt = [&](int k) {
                const int i = rows ? line : k;
                const int j = rows ? k : line;
                if (!BreakFits(e, i, j, rows)) return false;
                PutBlock(e, i, j);
                PutBlock(e, N - 1 - i, N - 1 - j);
                return true;
            };
            bool done = false;
            for (int k = start; k < N - 3 && !done; ++k) done = tryAt(k);
            for (int k = start - 1; k >= 3 && !done; --k) done = tryAt(k);
        }
    }
}

// A block pair at a random inner square with three open squares on each side
// and no diagonal pair through it; up to N x N x N attempts.
void ScatterPair(FillEngine& e) {
    const int N = Side(e);
    if (N < 7) return;
    for (int attempt = 0; attempt < N * N * N; ++attempt) {
        // The square is redrawn (row, then column) until it lies at least
        // three squares from every edge; bounded like the other redraws.
        int i = -1, j = -1;
        for (int draw = 0; draw < kRedrawLimit; ++draw) {
            i = R(N);
            j = R(N);
            if (i >= 3 && i < N - 3 && j >= 3 && j < N - 3) break;
            i = j = -1;
        }
        if (i < 0 || e.Square(i, j) != kOpen) continue;
        const int pi = N - 1 - i;
        const int pj = N - 1 - j;
        e.Square(i, j) = kBlock;
        e.Square(pi, pj) = kBlock;
        bool clear = true;
        for (int d = 1; d <= 3 && clear; ++d)
            clear = !IsBlock(e, i - d, j) && !IsBlock(e, i + d, j) && !IsBlock(e, i, j - d) && !IsBlock(e, i, j + d);
        if (clear && IsBlock(e, i + 1, j + 1) && IsBlock(e, i - 1, j - 1)) clear = false;
        if (clear && IsBlock(e, i + 1, j - 1) && IsBlock(e, i - 1, j + 1)) clear = false;
        if (clear) return;
        e.Square(i, j) = kOpen;
        e.Square(pi, pj) = kOpen;
    }
}

// Three blocks down from the top edge in column c.
void TopBar(FillEngine& e, int c) {
    for (int i = 0; i < 3; ++i) PutBlock(e, i, c);
}

// Three blocks in from the left edge in row r.
void LeftBar(FillEngine& e, int r) {
    for (int j = 0; j < 3; ++j) PutBlock(e, r, j);
}

void Pattern9(FillEngine& e) {
    VerticalBar(e, 3, 3, true);
    RotateCopy(e, 0, 3, 3);
    HorizontalBar(e, 3, 3, true);
    RotateCopy(e, 3, 0, 3);
}

void Pattern11(FillEngine& e) {
    const int a = R(3);
    const int b = R(3) + 4;
    TopBar(e, 4 + a);
    RotateCopy(e, 0, 4, 3);
    LeftBar(e, b);
    RotateCopy(e, 4, 0, 3);
    BreakOpenRuns(e);
}

void Pattern13(FillEngine& e) {
    const int c1 = 3 + R(2);
    const int c2 = 9 - R(2);
    const int r1 = c1 == 3 ? 4 : 3 + R(2);
    const int r2 = c2 == 9 ? 8 : 9 - R(2);
    TopBar(e, c1);
    RotateCopy(e, 0, 3, 3);
    TopBar(e, c2);
    RotateCopy(e, 0, 7, 3);
    LeftBar(e, r1);
    RotateCopy(e, 3, 0, 3);
    LeftBar(e, r2);
    RotateCopy(e, 7, 0, 3);
    BreakOpenRuns(e);
}

// Boxes of side b along the anti-diagonals, bars along the top and left
// edges, each copied to its half-turn image; sizes 12, 20 and 28 then get
// scattered pairs.
void GeneralPattern(FillEngine& e, int b) {
    const int N = Side(e);
    for (int d = 2 * b; d < N - b; d += 2 * b)
        for (int i = d, j = b; i > 0; i -= b, j += b) {
            BoxBlocks(e, i, j, b);
            RotateCopy(e, i, j, b);
        }
    for (int edge = b; edge < N; edge += 2 * b) {
        HorizontalBar(e, edge, b, false);
        RotateCopy(e, edge, 0, b);
        VerticalBar(e, edge, b, false);
        RotateCopy(e, 0, edge, b);
    }
    if (N == 12 || N == 20 || N == 28) {
        const int pairs = N == 12 ? 100 : N / 4;
        for (int k = 0; k < pairs; ++k) ScatterPair(e);
    }
}

}  // namespace

void FillEngine::MakeBlockPattern(int size) {
    if (size < 3) return;
    const int N = std::min(size, kMaxGridSide);
    rows = columns = N;
    activeCount = current = 0;
    for (int i = 0; i < N; ++i)
        for (int j = 0; j < N; ++j) Square(i, j) = kOpen;

    switch (N) {
        case 7: Square(3, 3) = kBlock; return;
        case 8: Square(0, 0) = Square(0, N - 1) = Square(N - 1, 0) = Square(N - 1, N - 1) = kBlock; return;
        case 9: Pattern9(*this); return;
        case 11: Pattern11(*this); return;
        case 13: Pattern13(*this); return;
        case 12:
        case 20:
        case 28: GeneralPattern(*this, 4); return;
        case 3:
        case 4:
        case 5:
        case 6:
        case 10:
        case 14:
            switch (R(4)) {
                case 0: Square(0, 0) = kBlock; break;
                case 1: Square(N - 1, N - 1) = kBlock; break;
                case 2: Square(0, N - 1) = kBlock; break;
                default: Square(N - 1, 0) = kBlock; break;
            }
            return;
        default: GeneralPattern(*this, 3); return;
    }
}

}  // namespace korvo
