// Reads a Windows metafile (.wmf) from untrusted bytes and plays its records onto a canvas, keeping
// the graphics state they imply (objects, mapping, colours, alignment, saved states).
// Every failure raises an EAppError whose Wmf... identity says what is wrong, and where.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "metafile/WmfCanvas.h"

// Files above this size are refused before they are read.
constexpr std::size_t kWmfMaxFileSize = 16u << 20;

// Parses data and plays it onto canvas. The frame is the placeable header's bounding box; without
// that header, the window the file sets, or else the bounds of what it draws. The whole file is
// checked before the canvas receives anything.
void PlayWmf(std::span<const std::uint8_t> data, TWmfCanvas& canvas);

// Parses data completely into a drawing; throws before returning anything on a damaged file.
TWmfDrawing ReadWmf(std::span<const std::uint8_t> data);

// Reads the file at path into a drawing. A file that is missing, cannot be read or is damaged
// raises EAppError PictureRead naming it, with the system's reason or the reader's error.
TWmfDrawing LoadWmfFile(const std::string& path);
