// The on-disk layout of a track file: an 82-byte header followed by one
// 3-byte record per piece, all little-endian.
#ifndef VELARI_TRACK_FORMAT_H
#define VELARI_TRACK_FORMAT_H

#include <cstdint>

enum { MAX_TRACK_PIECES = 2000 };
enum { TRACK_HEADER_SIZE = 82, TRACK_PIECE_SIZE = 3 };
enum { TRACK_NAME_SIZE = 21 };

#pragma pack(push, 1)
struct TrackHeader {
    char signature[2];            // "RC"
    uint8_t reserved2;
    uint8_t matterhornSetting;    // 0 off, anything else on
    uint8_t reserved4[3];
    char trackName[TRACK_NAME_SIZE];
    char designerName[TRACK_NAME_SIZE];
    int16_t pieceCount;           // stored count on disk, listed count in memory
    uint8_t reserved51[31];
};

struct TrackPiece {
    uint8_t code;  // bits 0-5 shape and length, bits 6-7 attribute
    int8_t bank;
    int8_t pitch;
};
#pragma pack(pop)

static_assert(sizeof(TrackHeader) == TRACK_HEADER_SIZE, "TrackHeader must be 82 bytes");
static_assert(sizeof(TrackPiece) == TRACK_PIECE_SIZE, "TrackPiece must be 3 bytes");
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the header is read and written as one block of little-endian fields");

// The arrows let the user set pitch and bank within -limit..limit; a stored
// value may lie beyond and is shown as stored.
enum { PITCH_ARROW_LIMIT = 85, BANK_ARROW_LIMIT = 125 };

// Bits 0-5 of a piece code, and the attribute masks of bits 6-7.
enum {
    PIECE_SHAPE_BITS = 0x3F,
    PIECE_ATTRIBUTE_BITS = 0xC0,
    PIECE_ATTRIBUTE_BRAKE = 0x40,
    PIECE_ATTRIBUTE_ACCELERATE = 0x80
};

enum { PIECE_SHAPE_COUNT = 8, PIECE_LENGTH_COUNT = 4, PIECE_ATTRIBUTE_COUNT = 3 };
enum { SHAPES_WITH_LENGTH = 4 };

// Shape index of a piece code's bits 0-5, or -1 when they name no piece.
int PieceShapeOfCode(uint8_t code);
// Length index 0-3, or -1 for a shape without length or a code naming no piece.
int PieceLengthOfCode(uint8_t code);
// Attribute index 0-2, or -1 when bits 6 and 7 are both set.
int PieceAttributeOfCode(uint8_t code);
// Bits 0-5 for a shape and length; length is ignored for shapes 4-7.
uint8_t PieceShapeBits(int shape, int length);
// Bits 6-7 for an attribute index 0-2.
uint8_t PieceAttributeBits(int attribute);

#endif
