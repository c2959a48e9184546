// Projects of the stand-in IDE: a Pascal program or library (".dpr"), a
// package (".dpk") or a C++ makefile project (".mak"), and the unit files
// they name.
#pragma once

#include <string>
#include <vector>

namespace vesper::ide_app {

struct ProjectFile {
  std::string FileName;            // full path of the project file
  std::vector<std::string> Units;  // full paths, in the project's order
};

// Reads a project; raises vesper::EFOpenError when it cannot be read.
// ".dpr": the units of the uses clause that name a file ("Unit1 in
// 'Unit1.pas'"); ".dpk": those of the contains clause; ".mak": the sources
// of the OBJFILES list (".obj" -> ".cpp"). Paths are taken relative to the
// project's folder.
ProjectFile ReadProjectFile(const std::string& fileName);

// Adds a unit file to the project source: "Name in 'file'" at the end of
// the uses (".dpr") or contains (".dpk") clause, or the object file at the
// end of the OBJFILES list (".mak"). Saves atomically.
void AddUnitToProjectSource(const std::string& projectFile, const std::string& unitFile);

// The units named by Pascal source text after `clause` ("uses" or
// "contains"): pairs of unit name and file (empty when no "in").
std::vector<std::pair<std::string, std::string>> ParseUnitClause(const std::string& text,
                                                                 const std::string& clause);

}  // namespace vesper::ide_app
