#pragma once
// The designs of a batch: the inputs expanded into one sorted list, the share
// of one shard, and the output names of each design.

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace sorvanta::cli {

// "I/N" with 0 <= I < N; false leaves index and count alone.
bool ParseShard(const std::string& text, int& index, int& count);

// The list positions shard `index` of `count` takes: every count-th design
// from the index-th, so that the shards of one list never overlap and
// together take every design.
std::vector<std::size_t> ShardPositions(std::size_t designs, int index, int count);

// Folders that could not be read, each with its message: they get a row of
// their own (unreadable), so that no design is lost without a word.
using TUnreadableFolders = std::map<std::string, std::string>;

// Every design the inputs name (files, folders searched for *.dat, and @LIST
// files of one input a line), sorted by path and without duplicates (two
// names of one file count once), so that every run and every shard sees the
// same list. A @LIST that cannot be read sets `problem`.
std::vector<std::string> CollectDesigns(const std::vector<std::string>& inputs,
                                        TUnreadableFolders& unreadable, std::string& problem);

// DIR/SUB/NAME for each design (NAME the file name without extension, SUB its
// folder below the deepest folder common to every design), so that designs of
// one name in different folders keep apart; an unreadable folder's row gets
// an empty name. Two designs that still meet (a.dat and A.dat in one folder)
// set `problem`.
std::vector<std::filesystem::path> OutputBases(const std::vector<std::string>& designs,
                                               const std::filesystem::path& dir,
                                               const TUnreadableFolders& unreadable,
                                               std::string& problem);

}  // namespace sorvanta::cli
