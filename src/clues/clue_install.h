#pragma once

#include <filesystem>
#include <string>

#include "platform/file_writer.h"

namespace korvo {

// The clue folder of a word list: "CLUES1" to "CLUES5"; any id outside 1 to
// 4 acts as 5.
std::string ClueFolderName(int wordListId);
// The packed clue source of a word list beside the program: "cdata1.bin" to
// "cdata5.bin", with the same rule for the id.
std::string ClueSourceName(int wordListId);

// Deletes every plain file directly inside folder. Sub-folders (and links to
// folders) are left alone; a file that cannot be deleted is skipped without
// a word, and a folder that cannot be read deletes nothing.
void DeleteFilesInFolder(const std::filesystem::path& folder);

// Adds the pairs of a clue source (bytes in the clue file format) to a clue
// folder: each pair with both lines non-empty, its word upper-cased and its
// clue's first character upper-cased (ToUpperLatin1), exactly as adding the pairs one by one
// with ClueDatabase::AddClue and its duplicate check would store them (the
// same files, pairs, order, cuts and bytes; files already in the folder take
// part in the check and are appended to), but in time linear in the source.
// Every write goes through fileSystem; each clue file gets its new pairs in
// one append. Returns the number of pairs stored.
//
// When a write fails, the clue file concerned keeps exactly what it held
// before (a file the append created is removed again), every other clue
// file still gets all of its pairs, the pairs of the failed file are not
// counted, and *failure (when given) receives the first failed write; it is
// left ok when every write succeeded. (A file left over in the folder whose
// last line lacks its line break, or whose lines do not pair up, is added to
// pair by pair instead and keeps the whole pairs added before a failure.)
int AddCluePairs(const std::filesystem::path& folder, std::string source,
                 FileSystemOps& fileSystem = SystemFileSystem(), FileWriteResult* failure = nullptr);

// Builds the clue database of a word list: the folder dataFolder/CLUES<n> is
// created, or emptied of its plain files when it exists, and filled from
// programFolder/cdata<n>.bin with AddCluePairs. A missing source leaves the
// folder empty and is no failure. Returns the number of pairs stored; a
// failed write is reported through *failure as with AddCluePairs.
int InstallClueDatabase(const std::filesystem::path& dataFolder, const std::filesystem::path& programFolder,
                        int wordListId, FileSystemOps& fileSystem = SystemFileSystem(),
                        FileWriteResult* failure = nullptr);

}  // namespace korvo
