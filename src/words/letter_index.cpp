#include "words/letter_index.h"

#include <bit>
#include <cstring>
#include <new>

namespace korvo {

namespace {

constexpr std::uint32_t kLetters = 26;

std::size_t IndexWords(const WordBlock* block) {
    return static_cast<std::size_t>(block->length) * kLetters * block->bitWords;
}

}  // namespace

void AllocateLetterIndex(WordBlock* block) {
    block->bitWords = (block->capacity + 63) / 64;
    block->letterBits = nullptr;
    if (block->data == nullptr || block->bitWords == 0) return;
    block->letterBits = new (std::nothrow) std::uint64_t[IndexWords(block)]();
}

void FreeLetterIndex(WordBlock* block) {
    delete[] block->letterBits;
    block->letterBits = nullptr;
}

void IndexRecord(WordBlock* block, std::uint32_t i, bool on) {
    if (block->letterBits == nullptr) return;
    const char* record = block->Record(i);
    const std::uint64_t bit = std::uint64_t{1} << (i % 64);
    const std::uint32_t word = i / 64;
    for (std::uint32_t p = 0; p < block->length; ++p) {
        const auto letter = static_cast<std::uint32_t>(static_cast<unsigned char>(record[p]) - 'A');
        if (letter >= kLetters) continue;  // not a letter: matches no fixed letter of a pattern
        std::uint64_t& cell = block->letterBits[(p * kLetters + letter) * block->bitWords + word];
        if (on)
            cell |= bit;
        else
            cell &= ~bit;
    }
}

void RebuildLetterIndex(WordBlock* block) {
    if (block->letterBits == nullptr) return;
    std::memset(block->letterBits, 0, IndexWords(block) * sizeof(std::uint64_t));
    for (std::uint32_t i = 0; i < block->count; ++i) IndexRecord(block, i, true);
}

char* FindInBlockIndexed(WordBlock* block, const FixedLetters& fixed) {
    const std::uint32_t count = block->count;
    const std::uint32_t status = block->length;
    const std::uint64_t* rows[kMaxWordLength];
    for (std::uint32_t k = 0; k < fixed.count; ++k) rows[k] = block->letterBits + fixed.row[k] * block->bitWords;

    const std::uint32_t last = (count - 1) / 64;                      // count > cursor >= 0 here
    std::uint64_t below = ~std::uint64_t{0} << (block->cursor % 64);  // drops records before the cursor
    for (std::uint32_t w = block->cursor / 64; w <= last; ++w) {
        std::uint64_t m = below & rows[0][w];
        below = ~std::uint64_t{0};
        for (std::uint32_t k = 1; m != 0 && k < fixed.count; ++k) m &= rows[k][w];
        if (w == last && count % 64 != 0) m &= (std::uint64_t{1} << (count % 64)) - 1;
        while (m != 0) {
            const std::uint32_t i = w * 64 + static_cast<std::uint32_t>(std::countr_zero(m));
            char* record = block->Record(i);
            if (record[status] == kWordAvailable) {
                block->cursor = i + 1;
                return record;
            }
            m &= m - 1;
        }
    }
    block->cursor = count;
    return nullptr;
}

}  // namespace korvo
