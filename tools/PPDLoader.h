// Loads a PPD file into a model the way the print dialog pane does: orphans and hidden items
// parsed, no accepted-names list unless one is given, the bundle's error descriptions current
// while the parse runs.
//
// Before parsing, the file is checked: a missing file, one that is not a regular file (a folder,
// a pipe, a device), one that cannot be read, an empty one or one that holds binary data is refused
// with a message for the person at the terminal, and no model is built.
#ifndef HALYX_TOOLS_PPDLOADER_H
#define HALYX_TOOLS_PPDLOADER_H

#include <string>
#include <vector>

class ORBPPD;

namespace halyx::tools {

class PPDLoader {
public:
    PPDLoader() {}
    // Releases the model.
    ~PPDLoader();

    // Splits a comma-separated list of accepted PC file names; blanks around a name are dropped,
    // and so are empty pieces.
    static std::vector<std::string> SplitNames(const char* list);

    // Accepted PC file names; without a call the name check is not made.
    void Names(const std::vector<std::string>& names) {
        mNames = names;
        mHaveNames = true;
    }
    // Every error, not only the fatal ones, stops the walk and makes the PPD unusable.
    void AllErrorsFatal(bool allFatal) { mAllErrorsFatal = allFatal; }

    // Checks and parses `path`. False, with `*message` saying why, when the file is refused or
    // memory runs out; true when a model was built (which may still be unusable).
    bool Load(const char* path, std::string* message);

    ORBPPD* Model() const { return mModel; }
    const std::string& Path() const { return mPath; }

    // The resource file with the error descriptions: $HALYX_BUNDLE_DIR's when that is set, else
    // the bundle in the build tree, else the one in the source tree. Empty when none exists.
    static std::string ErrorDescriptionsFile();

private:
    PPDLoader(const PPDLoader&) = delete;
    PPDLoader& operator=(const PPDLoader&) = delete;

    // Refuses files that cannot be parsed as text.
    static bool CheckFile(const char* path, std::string* message);

    std::vector<std::string> mNames;
    bool mHaveNames = false;
    bool mAllErrorsFatal = false;
    ORBPPD* mModel = nullptr;
    std::string mPath;
};

}  // namespace halyx::tools

#endif  // HALYX_TOOLS_PPDLOADER_H
