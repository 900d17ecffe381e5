// What kind of file a structure file looks like, by the signature that an
// outside program writes in its first lines, for the messages about a file
// that the reader `software` names cannot read: a file of another program,
// or a VASP OUTCAR given for a VASP-derived mode file.
#pragma once

#include <string>
#include <string_view>

#include "shared/instream.h"
#include "shared/projection.h"

namespace kelmar {

enum class FileKind { Unknown, Gaussian, Molpro, Polyrate, VaspOutcar };

// The kind of file whose first bytes are `head`. Looked for in its first
// kSignatureLines lines: " Entering Gaussian System" or "Gaussian, Inc."
// (Gaussian); "PROGRAM SYSTEM MOLPRO" or " Primary working directories"
// (Molpro, which prints the second on its second line, before the input);
// a first line that starts with "vasp." (an OUTCAR); "POLYRATE" or
// "Polyrate", tested last.
inline constexpr int kSignatureLines = 100;
FileKind fileKindOf(std::string_view head);

// What a message about the structure file read by `in` adds when the file
// looks like another program's file than the reader that `software` names
// reads, or like an OUTCAR given to the VASP reader: which kind it looks
// like, why, and what software says. Empty otherwise.
std::string fileKindHint(const Software& software, long softwareLine, const InputStream& in);

}  // namespace kelmar
