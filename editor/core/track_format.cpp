#include "track_format.h"

int PieceShapeOfCode(uint8_t code)
{
    int bits = code & PIECE_SHAPE_BITS;
    if (bits >= 2 && bits <= 32 && bits % 2 == 0)
        return (bits - 2) / 8;
    if (bits >= 34 && bits <= 40 && bits % 2 == 0)
        return SHAPES_WITH_LENGTH + (bits - 34) / 2;
    return -1;
}

int PieceLengthOfCode(uint8_t code)
{
    int bits = code & PIECE_SHAPE_BITS;
    if (bits >= 2 && bits <= 32 && bits % 2 == 0)
        return ((bits - 2) % 8) / 2;
    return -1;
}

int PieceAttributeOfCode(uint8_t code)
{
    switch (code & PIECE_ATTRIBUTE_BITS) {
    case 0:
        return 0;
    case PIECE_ATTRIBUTE_BRAKE:
        return 1;
    case PIECE_ATTRIBUTE_ACCELERATE:
        return 2;
    default:
        return -1;
    }
}

uint8_t PieceShapeBits(int shape, int length)
{
    if (shape < SHAPES_WITH_LENGTH)
        return static_cast<uint8_t>(2 + 8 * shape + 2 * length);
    return static_cast<uint8_t>(34 + 2 * (shape - SHAPES_WITH_LENGTH));
}

uint8_t PieceAttributeBits(int attribute)
{
    if (attribute == 1)
        return PIECE_ATTRIBUTE_BRAKE;
    if (attribute == 2)
        return PIECE_ATTRIBUTE_ACCELERATE;
    return 0;
}
