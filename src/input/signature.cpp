#include "input/signature.h"

#include "shared/runend.h"

namespace kelmar {
namespace {

struct Signature {
  FileKind kind;
  std::string_view text;
};

// The first lines of each kind, from the files of each program:
//  Entering Gaussian System, Link 0=g09
//  Copyright (c) 1988-2019, Gaussian, Inc.  All Rights Reserved.
//  Primary working directories    : /tmp
//                                          ***  PROGRAM SYSTEM MOLPRO  ***
//  vasp.5.4.1 24Jun15 (build Sep 07 2018 14:08:39) complex
// Polyrate's name is looked for only when no other signature stands there,
// since another program's file may name it.
constexpr Signature kSignatures[] = {
    {FileKind::Gaussian, " Entering Gaussian System"},
    {FileKind::Gaussian, "Gaussian, Inc."},
    {FileKind::Molpro, "PROGRAM SYSTEM MOLPRO"},
    {FileKind::Molpro, " Primary working directories"},
};
constexpr Signature kPolyrateSignatures[] = {
    {FileKind::Polyrate, "POLYRATE"},
    {FileKind::Polyrate, "Polyrate"},
};

// The first kSignatureLines lines of the head (fewer when the head ends
// first).
std::string_view firstLines(std::string_view head) {
  std::size_t end = 0;
  for (int n = 0; n < kSignatureLines && end < head.size(); ++n) {
    const std::size_t nl = head.find('\n', end);
    end = nl == std::string_view::npos ? head.size() : nl + 1;
  }
  return head.substr(0, end);
}

bool startsWithVersion(std::string_view head) {
  const std::string_view first = head.substr(0, head.find('\n'));
  const std::size_t b = first.find_first_not_of(" \t");
  return b != std::string_view::npos && first.substr(b).starts_with("vasp.");
}

std::string_view signatureOf(std::string_view lines, FileKind kind) {
  for (const Signature& s : kSignatures) {
    if (s.kind == kind && lines.find(s.text) != std::string_view::npos) return s.text;
  }
  for (const Signature& s : kPolyrateSignatures) {
    if (s.kind == kind && lines.find(s.text) != std::string_view::npos) return s.text;
  }
  return {};
}

// "a Gaussian output", and the reader's files
const char* kindName(FileKind kind) {
  switch (kind) {
    case FileKind::Gaussian:
      return "a Gaussian output";
    case FileKind::Molpro:
      return "a Molpro output";
    case FileKind::Polyrate:
      return "a Polyrate output";
    case FileKind::VaspOutcar:
      return "a VASP OUTCAR";
    case FileKind::Unknown:
      break;
  }
  return "";
}

const char* readerFiles(Reader reader) {
  switch (reader) {
    case Reader::Gaussian:
      return "Gaussian output files";
    case Reader::Molpro:
      return "Molpro output files";
    case Reader::Polyrate:
      return "a Polyrate output file";
    case Reader::Vasp:
      return "VASP-derived mode files";
    case Reader::None:
      break;
  }
  return "";
}

// The kind of file each reader reads.
FileKind kindRead(Reader reader) {
  switch (reader) {
    case Reader::Gaussian:
      return FileKind::Gaussian;
    case Reader::Molpro:
      return FileKind::Molpro;
    case Reader::Polyrate:
      return FileKind::Polyrate;
    case Reader::Vasp:
    case Reader::None:
      break;
  }
  return FileKind::Unknown;
}

// How the files of a kind are read.
const char* howRead(FileKind kind) {
  switch (kind) {
    case FileKind::Gaussian:
      return "Gaussian files are read with software gaussian";
    case FileKind::Molpro:
      return "Molpro files are read with software molpro";
    case FileKind::Polyrate:
      return "Polyrate files are read with software polyrate";
    case FileKind::VaspOutcar:
      return "a VASP run is read with software vasp, from mode files made from its OUTCARs (see \"The "
             "VASP-derived mode file\" in the README)";
    case FileKind::Unknown:
      break;
  }
  return "";
}

}  // namespace

FileKind fileKindOf(std::string_view head) {
  const std::string_view lines = firstLines(head);
  for (const Signature& s : kSignatures) {
    if (lines.find(s.text) != std::string_view::npos) return s.kind;
  }
  if (startsWithVersion(lines)) return FileKind::VaspOutcar;
  for (const Signature& s : kPolyrateSignatures) {
    if (lines.find(s.text) != std::string_view::npos) return s.kind;
  }
  return FileKind::Unknown;
}

std::string fileKindHint(const Software& software, long softwareLine, const InputStream& in) {
  const Reader reader = software.words().reader;
  const FileKind kind = fileKindOf(in.head());
  if (kind == FileKind::Unknown || kind == kindRead(reader)) return {};
  if (kind == FileKind::VaspOutcar && reader == Reader::Vasp) {
    return "the file looks like an OUTCAR (its first line starts with \"vasp.\"), but the VASP reader takes a mode "
           "file made from the OUTCAR: see \"The VASP-derived mode file\" in the README";
  }
  const std::string why = kind == FileKind::VaspOutcar
                              ? "its first line starts with \"vasp.\""
                              : "its first lines hold " + quoteForMessage(signatureOf(firstLines(in.head()), kind));
  std::string hint = std::string("the file looks like ") + kindName(kind) + " (" + why + "), but software " +
                     quoteForMessage(trimmedName(software.text())) + " (standard input, line " +
                     std::to_string(softwareLine) + ") reads " + readerFiles(reader) + "; " + howRead(kind);
  return hint;
}

}  // namespace kelmar
