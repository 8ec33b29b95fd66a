// Stored form descriptions: a readable text of nested components and "Name = value" lines,
// kept as a resource of the executable and read through the published-property tables.
//
//   Form_main : TForm_main {
//     Caption = "Tarnel"                // strings are UTF-8 in the source, code page 936 at run
//     time BorderIcons = [biSystemMenu, biMinimize] Font.Height = -16 Lines = ("first line" "second
//     line") OnClick = Button1Click            // an identifier: event method, component or value
//     name SkinStream = @resource "DEFAULT_SKIN"   // binary: a resource's bytes ... Icons =
//     {01000000 ...}                  // ... or hexadecimal bytes of the stored form Label1 :
//     TLabel { Left = 8 }
//   }
#pragma once
#include "Classes.h"

struct TDescValue {
  enum TKind { vkNumber, vkString, vkIdent, vkSet, vkList, vkBinary } Kind = vkNumber;
  std::string Text;               // number, string (UTF-8), identifier
  std::vector<std::string> Items; // set names, list strings
  std::vector<uint8_t> Bytes;     // hexadecimal block
  std::string ResourceName;       // binary taken from a resource
};

struct TDescNode {
  std::string Name;
  std::string ClassName;
  std::vector<std::pair<std::string, TDescValue>> Props;
  std::vector<TDescNode> Children;
  int Line = 0;
};

// Parses a description; throws EReadError with the line number on bad syntax.
TDescNode ParseDescription(std::string_view text);

// Reads a description into root (already constructed): properties, child components created by
// class name and owned by root, fields bound, events bound to root's methods, references
// resolved, and Loaded() run on every component once everything has been read.
void ReadComponentDescription(TComponent* root, const TDescNode& node);
void ReadComponentText(TComponent* root, std::string_view text);
// Reads the RCDATA resource named name (the form's class name) from the executable.
void ReadComponentResource(TComponent* root, const char* name);

// The bytes of an RCDATA resource of the executable (empty when missing).
std::vector<uint8_t> LoadResourceBytes(const char* name);
