#pragma once

#include <cstdint>

namespace korvo {

// Longest word the store holds, and the size of every block's data area.
inline constexpr int kMaxWordLength = 21;
inline constexpr int kBlockBytes = 8192;
inline constexpr int kBucketCount = kMaxWordLength + 1;

// Status byte stored after each word's letters.
inline constexpr char kWordAvailable = 0;
inline constexpr char kWordInUse = 1;

// One fixed-size block of words of one length. Record i starts at
// i * recordSize in data: the letters, then one status byte. Blocks of the
// same length form a chain; words are numbered 1, 2, 3 ... across the chain
// in chain order (the word's index). A record's letters change only through
// the functions below, which keep the block's letter index in step; callers
// may read records and their status bytes, and must not write letters.
struct WordBlock {
    std::uint32_t count = 0;              // words stored in this block
    std::uint32_t capacity = 0;           // kBlockBytes / recordSize; 0 when the data area is missing
    std::uint32_t length = 0;             // letters per word
    std::uint32_t recordSize = 0;         // length + 1
    std::uint32_t cursor = 0;             // index in this block of the next record a search examines
    std::int32_t failed = 0;              // 1 when the data area could not be allocated
    char* data = nullptr;                 // kBlockBytes bytes of records
    WordBlock* next = nullptr;            // next block of the same length, or null
    std::uint64_t* letterBits = nullptr;  // letter index of the records (letter_index.h), or null
    std::uint32_t bitWords = 0;           // 64-bit words per bit set of the index: (capacity + 63) / 64

    char* Record(std::uint32_t i) const { return data + static_cast<std::size_t>(i) * recordSize; }
};

// Prepares a block for words of the given length (at most 21) and allocates
// its data area; on failure the block has capacity 0 and failed = 1.
void InitBlock(WordBlock* block, std::uint32_t length);
// Allocates and initialises a block; null when the block itself cannot be allocated.
WordBlock* NewBlock(std::uint32_t length);
// Frees a block and its data area (not the rest of the chain).
void FreeBlock(WordBlock* block);

// Chain operations (on the head block of one length).
// Appends a word (of the chain's length); 1 added, 0 not.
int AddWord(WordBlock* head, const char* word, bool checkDuplicates);
// Next available record matching the pattern ('@' = any letter) from the
// chain's cursors onwards; adds the 1-based index of the result to *index.
// The pattern has the chain's length; a shorter one matches no word (the
// chain is searched to its end).
char* FindNext(WordBlock* head, const char* pattern, int* index);
void MarkUsed(WordBlock* head, int index);
void ReleaseWord(WordBlock* head, int index);
// Takes the first available word equal to word out of the chain by moving
// the chain's last record over it. A word in use, or of another length than
// the chain's, is not removed.
void RemoveWord(WordBlock* head, const char* word);
// A record of a randomly chosen block of the chain (draws from Random);
// null for an absent or empty block.
char* RandomWord(WordBlock* head);

// The loaded word list grouped by length, or the engine's store of the words
// placed in a run. Owns its blocks.
struct WordStore {
    WordBlock* buckets[kBucketCount] = {};  // head of the chain of each length, or null
    std::int32_t failed = 0;                // a block allocation failed while loading
    std::int32_t reserved = 0;              // always 0

    WordStore() = default;
    ~WordStore() { FreeStore(); }
    WordStore(const WordStore&) = delete;
    WordStore& operator=(const WordStore&) = delete;

    // Searches the chain of the pattern's length; sets *index to the result's index (0 when none).
    char* FindWord(const char* pattern, int* index);
    // Positions the chain of a length so that the next search starts after its first index words.
    void SetCursor(int length, int index);
    void ResetCursors();
    void ResetUsedMarks();
    // Mixes the order of the words of every length (draws from Random in a fixed order).
    void ShuffleWords();
    // Frees every block; buckets null and failed 0.
    void ClearStore();
    void FreeStore();
    // Adds a placed word to the used-word store: 1 added, 0 refused (bad length or
    // already present), -1 the first block of its length could not be made.
    int AddUsedWord(const char* word);
    // True when some stored word of 3 or more letters starts with word's first three letters.
    bool SharesPrefix(const char* word) const;

    // Number of words of one length, and of all lengths.
    std::uint32_t CountWords(int length) const;
    std::uint32_t CountWords() const;
};

// Loads a word list file (each byte XOR 0x3B, each word ended by the key byte)
// into the store, which is emptied first. Returns the number of words added;
// 0 when the file cannot be opened.
int LoadWordList(WordStore& store, const char* path);

inline constexpr unsigned char kWordListKey = 0x3B;

}  // namespace korvo
