#include "words/word_store.h"

#include <cstring>
#include <functional>
#include <new>
#include <utility>

#include "platform/random.h"
#include "words/letter_index.h"

namespace korvo {

namespace {

std::size_t BoundedLength(const char* s, std::size_t limit) {
    std::size_t n = 0;
    while (n < limit && s[n] != 0) ++n;
    return n;
}

void SwapRecords(char* a, char* b, std::uint32_t recordSize) {
    if (a == b) return;
    char tmp[kMaxWordLength + 1];
    std::memcpy(tmp, a, recordSize);
    std::memcpy(a, b, recordSize);
    std::memcpy(b, tmp, recordSize);
}

// True when p points at one of the block's records 0 .. count - 1.
bool HoldsRecord(const WordBlock* block, const char* p) {
    const std::less_equal<const char*> notAfter;
    const std::less<const char*> before;
    return notAfter(block->data, p) && before(p, block->Record(block->count));
}

// Locates the record with a 1-based chain index; null when past the chain.
char* RecordAt(WordBlock* head, int index) {
    if (index <= 0) return nullptr;
    auto remaining = static_cast<std::uint32_t>(index);
    for (WordBlock* b = head; b != nullptr; b = b->next) {
        if (remaining <= b->count) return b->Record(remaining - 1);
        remaining -= b->count;
    }
    return nullptr;
}

// Shuffles a non-head block of a chain; the rest of the chain after it first.
void ShuffleChainBlock(WordBlock* b) {
    if (b->failed) return;
    if (b->next != nullptr) ShuffleChainBlock(b->next);
    b->cursor = 0;
    if (b->count < 2) return;
    const std::uint32_t rounds = (b->count / 5) * 4;
    for (std::uint32_t i = 0; i < rounds; ++i) {
        std::uint32_t j = i + 1 + static_cast<std::uint32_t>(Random::Next()) % (b->count - i - 1);
        if (b->next == nullptr || Random::Next() % 5 == 0) {
            SwapRecords(b->Record(i), b->Record(j), b->recordSize);
        } else {
            char* w = RandomWord(b->next);
            if (Random::Next() % 5 == 0)
                SwapRecords(b->Record(j), w, b->recordSize);
            else
                SwapRecords(b->Record(i), w, b->recordSize);
        }
    }
}

// Shuffles the head block of a chain, the rest of the chain first.
void ShuffleHead(WordBlock* head) {
    if (head->next != nullptr) ShuffleChainBlock(head->next);
    head->cursor = 0;
    if (head->count < 2) return;
    const std::uint32_t rounds = (head->count / 5) * 4;
    for (std::uint32_t i = 0; i < rounds; ++i) {
        std::uint32_t j = i + 1 + static_cast<std::uint32_t>(Random::Next()) % (head->count - i - 1);
        if (head->next == nullptr || Random::Next() % 5 == 0) {
            SwapRecords(head->Record(i), head->Record(j), head->recordSize);
            continue;
        }
        WordBlock* n = head->next;
        char* w = nullptr;
        if (n->next == nullptr || Random::Next() % 5 == 0)
            w = n->Record(static_cast<std::uint32_t>(Random::Next()) % n->count);
        else
            w = RandomWord(n->next);
        if (Random::Next() % 5 == 0)
            SwapRecords(head->Record(j), w, head->recordSize);
        else
            SwapRecords(head->Record(i), w, head->recordSize);
    }
}

}  // namespace

void InitBlock(WordBlock* block, std::uint32_t length) {
    if (length > static_cast<std::uint32_t>(kMaxWordLength)) return;
    block->count = 0;
    block->cursor = 0;
    block->next = nullptr;
    block->failed = 0;
    block->length = length;
    block->recordSize = length + 1;
    block->capacity = kBlockBytes / (length + 1);
    block->data = new (std::nothrow) char[kBlockBytes];
    if (block->data == nullptr) {
        block->capacity = 0;
        block->failed = 1;
    }
    AllocateLetterIndex(block);
}

WordBlock* NewBlock(std::uint32_t length) {
    if (length > static_cast<std::uint32_t>(kMaxWordLength)) return nullptr;
    auto* block = new (std::nothrow) WordBlock;
    if (block != nullptr) InitBlock(block, length);
    return block;
}

void FreeBlock(WordBlock* block) {
    if (block == nullptr) return;
    FreeLetterIndex(block);
    delete[] block->data;
    delete block;
}

int AddWord(WordBlock* head, const char* word, bool checkDuplicates) {
    const std::size_t length = BoundedLength(word, kMaxWordLength + 1);
    for (WordBlock* b = head; b != nullptr; b = b->next) {
        if (length != b->length || b->failed) return 0;
        if (checkDuplicates) {
            for (std::uint32_t i = 0; i < b->count; ++i)
                if (std::memcmp(b->Record(i), word, length) == 0) return 0;
        }
        if (b->count < b->capacity) {
            char* record = b->Record(b->count);
            std::memcpy(record, word, length);
            record[length] = kWordAvailable;
            IndexRecord(b, b->count, true);
            ++b->count;
            return 1;
        }
        if (b->next == nullptr) {
            WordBlock* fresh = NewBlock(b->length);
            if (fresh == nullptr) return 0;
            if (fresh->failed) {
                FreeBlock(fresh);
                return 0;
            }
            b->next = fresh;
        }
    }
    return 0;
}

char* FindNext(WordBlock* head, const char* pattern, int* index) {
    if (head == nullptr || pattern == nullptr) return nullptr;
    // Only the fixed positions of the pattern are compared; the open ones are skipped.
    const std::uint32_t length = head->length;
    FixedLetters fixed;
    bool shortPattern = false;
    // The leading open squares first, in a tight loop (a terminator stops it too).
    std::uint32_t open = 0;
    while (open < length && pattern[open] == '@') ++open;
    for (std::uint32_t k = open; k < length; ++k) {
        const char c = pattern[k];
        if (c == 0) {
            shortPattern = true;
            break;
        }
        if (c == '@') continue;
        const auto letter = static_cast<std::uint32_t>(static_cast<unsigned char>(c) - 'A');
        if (letter >= 26) fixed.indexable = false;
        fixed.position[fixed.count] = k;
        fixed.letter[fixed.count] = c;
        fixed.row[fixed.count] = k * 26 + letter;
        ++fixed.count;
    }

    for (WordBlock* b = head; b != nullptr; b = b->next) {
        if (b->cursor >= b->count) {  // used up by earlier searches
            if (index != nullptr) *index += static_cast<int>(b->count);
            continue;
        }
        char* found = nullptr;
        if (shortPattern) {
            // A pattern shorter than the chain's words matches none of them.
            b->cursor = b->count;
        } else if (fixed.count != 0 && fixed.indexable && b->letterBits != nullptr) {
            found = FindInBlockIndexed(b, fixed);
        } else {
            const std::uint32_t size = b->recordSize;
            const std::uint32_t count = b->count;
            std::uint32_t cursor = b->cursor;
            char* record = b->Record(cursor);
            while (cursor < count) {
                ++cursor;
                bool match = record[length] == kWordAvailable;
                for (std::uint32_t k = 0; match && k < fixed.count; ++k)
                    match = record[fixed.position[k]] == fixed.letter[k];
                if (match) {
                    found = record;
                    break;
                }
                record += size;
            }
            b->cursor = cursor;
        }
        if (found != nullptr) {
            if (index != nullptr) *index += static_cast<int>(b->cursor);
            return found;
        }
        if (index != nullptr) *index += static_cast<int>(b->count);
    }
    return nullptr;
}

void MarkUsed(WordBlock* head, int index) {
    char* record = RecordAt(head, index);
    if (record != nullptr) record[head->length] = kWordInUse;
}

void ReleaseWord(WordBlock* head, int index) {
    char* record = RecordAt(head, index);
    if (record != nullptr) record[head->length] = kWordAvailable;
}

void RemoveWord(WordBlock* head, const char* word) {
    if (head == nullptr) return;
    for (WordBlock* b = head; b != nullptr; b = b->next) b->cursor = 0;
    // Only a word of the chain's length can be equal to one of its words.
    if (BoundedLength(word, head->length + 1) != head->length) return;
    // The word is the search pattern; a '@' in it would match other words,
    // so keep searching until an exactly equal record turns up.
    char* found = nullptr;
    while ((found = FindNext(head, word, nullptr)) != nullptr) {
        if (std::memcmp(found, word, head->length) == 0) break;
    }
    if (found == nullptr) return;

    WordBlock* foundBlock = head;
    while (!HoldsRecord(foundBlock, found)) foundBlock = foundBlock->next;
    const auto foundAt = static_cast<std::uint32_t>((found - foundBlock->data) / foundBlock->recordSize);

    WordBlock* previous = nullptr;
    WordBlock* last = head;
    while (last->next != nullptr) {
        previous = last;
        last = last->next;
    }
    const std::uint32_t lastAt = last->count - 1;  // last holds found or a later word, so count >= 1
    char* lastRecord = last->Record(lastAt);
    IndexRecord(foundBlock, foundAt, false);
    if (lastRecord != found) {
        IndexRecord(last, lastAt, false);
        std::memcpy(found, lastRecord, last->recordSize);
        IndexRecord(foundBlock, foundAt, true);
    }
    --last->count;
    // The search may have left the cursor one past the record that went away.
    if (last->cursor > last->count) last->cursor = last->count;
    if (last->count == 0 && previous != nullptr) {
        previous->next = nullptr;
        FreeBlock(last);
    }
}

char* RandomWord(WordBlock* head) {
    if (head == nullptr) return nullptr;
    WordBlock* b = head;
    while (b->next != nullptr) {
        if (Random::Next() % 5 == 0) break;
        b = b->next;
    }
    if (b->count == 0) return nullptr;
    return b->Record(static_cast<std::uint32_t>(Random::Next()) % b->count);
}

char* WordStore::FindWord(const char* pattern, int* index) {
    if (index != nullptr) *index = 0;
    const std::size_t length = BoundedLength(pattern, kMaxWordLength + 1);
    if (length > static_cast<std::size_t>(kMaxWordLength) || buckets[length] == nullptr) return nullptr;
    return FindNext(buckets[length], pattern, index);
}

void WordStore::SetCursor(int length, int index) {
    if (length < 0 || length >= kBucketCount) return;
    for (WordBlock* b = buckets[length]; b != nullptr; b = b->next) {
        const auto left = static_cast<std::uint32_t>(index < 0 ? 0 : index);
        b->cursor = left < b->count ? left : b->count;
        index -= static_cast<int>(b->count);
        if (index < 0) index = 0;
    }
}

void WordStore::ResetCursors() {
    for (WordBlock* head : buckets)
        for (WordBlock* b = head; b != nullptr; b = b->next) b->cursor = 0;
}

void WordStore::ResetUsedMarks() {
    for (int length = 1; length < kBucketCount; ++length)
        for (WordBlock* b = buckets[length]; b != nullptr; b = b->next)
            for (std::uint32_t i = 0; i < b->count; ++i) b->Record(i)[b->length] = kWordAvailable;
}

void WordStore::ShuffleWords() {
    for (int length = 1; length < kBucketCount; ++length) {
        WordBlock* head = buckets[length];
        if (head == nullptr || head->failed) continue;
        ShuffleHead(head);
        // The swaps moved letters between records and blocks: re-index the chain.
        for (WordBlock* b = head; b != nullptr; b = b->next) RebuildLetterIndex(b);
    }
}

void WordStore::ClearStore() {
    FreeStore();
    failed = 0;
}

void WordStore::FreeStore() {
    for (WordBlock*& head : buckets) {
        WordBlock* b = head;
        while (b != nullptr) {
            WordBlock* next = b->next;
            FreeBlock(b);
            b = next;
        }
        head = nullptr;
    }
}

int WordStore::AddUsedWord(const char* word) {
    const std::size_t length = BoundedLength(word, kMaxWordLength + 1);
    if (length == 0 || length > static_cast<std::size_t>(kMaxWordLength)) return 0;
    if (buckets[length] == nullptr) {
        buckets[length] = NewBlock(static_cast<std::uint32_t>(length));
        if (buckets[length] == nullptr) return -1;
    }
    return AddWord(buckets[length], word, true);
}

bool WordStore::SharesPrefix(const char* word) const {
    if (BoundedLength(word, 3) < 3) return false;
    for (int length = 3; length < kBucketCount; ++length)
        for (const WordBlock* b = buckets[length]; b != nullptr; b = b->next)
            for (std::uint32_t i = 0; i < b->count; ++i) {
                const char* r = b->Record(i);
                if (r[0] == word[0] && r[1] == word[1] && r[2] == word[2]) return true;
            }
    return false;
}

std::uint32_t WordStore::CountWords(int length) const {
    if (length < 0 || length >= kBucketCount) return 0;
    std::uint32_t n = 0;
    for (const WordBlock* b = buckets[length]; b != nullptr; b = b->next) n += b->count;
    return n;
}

std::uint32_t WordStore::CountWords() const {
    std::uint32_t n = 0;
    for (int length = 0; length < kBucketCount; ++length) n += CountWords(length);
    return n;
}

}  // namespace korvo
