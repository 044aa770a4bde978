#pragma once

#include <string>

namespace platform {

// Replaces destination with a whole copy of the regular file source, read to
// its end however much it grows meanwhile, or leaves destination as it was. The copy is written to
// an unnamed file in destination's folder (a hidden named one where the file system refuses unnamed
// files), flushed to disk, given a name and renamed over destination; the folder is then flushed so
// that the rename survives a power cut. So a crash before the naming leaves nothing behind. The
// copy gets source's permission bits; a symbolic link at destination is replaced, not followed,
// whatever it points at, while a folder there is refused (EISDIR).
// Returns 0, or the errno of the step that failed; an error always means that
// destination is as it was. A folder that cannot be flushed after the rename
// is not an error, since the new content is in place by then.
[[nodiscard]] int ReplaceWithCopy(const std::string& source, const std::string& destination);

}  // namespace platform
