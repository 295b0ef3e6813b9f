// The developer's duplicate-image tool: finds the pictures under "data"
// whose pixels are identical, keeps one of each, records every removed name
// with the name kept in its place in the file layer's alias table and in
// "data/common.ini", deletes the removed files and ends the run. The game's
// start-up runs it when the developer flag is set (MOORGLEN_FIND_DUPLICATE_IMAGES=1).
#pragma once

#include "resources/images/ImageLib.h"

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Tandry {

class TandryAppBase;

// One picture file the tool found; its image is read only while its group
// is compared.
struct ImageToolRecord {
    std::unique_ptr<ImageLib::Image> image;
    uint32_t fileSize = 0; // the listing's low 32 bits
    std::string path;
};

// The pictures by (width, height); only pictures of one size can be equal.
using ImageToolGroups = std::map<std::pair<int, int>, std::list<ImageToolRecord>>;

// What comparing the groups found: the files to delete and their bytes.
struct DuplicateFiles {
    std::vector<std::string> paths;
    uint64_t bytes = 0;
};

// Adds every ".png", ".jpg" and ".gif" below folder (the extension exactly,
// in that case) to its group; a picture that cannot be read is skipped.
void ScanImageFiles(ImageToolGroups& groups, const std::string& folder);
// Empties the group: each picture equal to an earlier one is aliased to it
// and listed in found. Nothing is deleted here.
void RemoveDuplicates(std::list<ImageToolRecord>& group, DuplicateFiles& found);
// Both names normalised as the file layer does; an alias already there stays.
void AddImageAlias(const std::string& removed, const std::string& kept);
// Writes the alias table to "data/common.ini", whole or not at all.
bool WriteImageAliases();
// The tool: scans, compares, writes the table, and only when that worked
// deletes the duplicates; then a box says what was saved (or that the table
// could not be written, and nothing was deleted), and the run ends.
void FindDuplicateImages(TandryAppBase* app);

// The developer flag: true when the environment variable
// MOORGLEN_FIND_DUPLICATE_IMAGES is "1".
bool DuplicateImageToolRequested();

} // namespace Tandry
