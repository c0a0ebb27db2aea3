// The pieces of one job, sorted by where they go in the document:
//
//   site 504 (orientation comment), site 30 (job-note comment line)
//       -> header comments, in the order added, right before the first %%EndComments
//   site 81 (job-note feature code), site 20 (range code)
//       -> setup code, in the order added, right before %%EndSetup (so they come after the
//          document's own setup features and win over them)
//   any other site
//       -> left out; the site is kept in unknownSites so that it can be reported
#ifndef HALYX_FILTER_JOBPIECES_H
#define HALYX_FILTER_JOBPIECES_H

#include <cstdint>
#include <string>
#include <vector>

// The site codes the pane writes with each piece.
enum JobPieceSite : int32_t {
    kSiteRange = 20,
    kSiteNoteComment = 30,
    kSiteNoteFeature = 81,
    kSiteOrientation = 504,
};

struct JobPieces {
    std::vector<std::string> comments;  // each one comment line ending with LF
    std::vector<std::string> features;  // each ending with LF
    std::vector<int32_t> unknownSites;  // in file order, repeats kept

    bool Empty() const { return comments.empty() && features.empty(); }
};

#endif  // HALYX_FILTER_JOBPIECES_H
