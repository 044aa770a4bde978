#pragma once

#include <string>

namespace platform {

// Replaces destination with a whole copy of the regular file source, or
// leaves destination as it was. The copy is made under a temporary name in
// destination's folder, flushed to disk and renamed over destination; the
// folder is then flushed so that the rename survives a power cut. The copy
// keeps destination's permission bits when it existed, else source's.
// Returns 0, or the errno of the step that failed; an error always means that
// destination is as it was. A folder that cannot be flushed after the rename
// is not an error, since the new content is in place by then.
[[nodiscard]] int ReplaceWithCopy(const std::string& source, const std::string& destination);

}  // namespace platform
