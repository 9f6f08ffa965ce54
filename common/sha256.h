// SHA-256 (FIPS 180-4), so that a program can check the files it ships
// against the digests built into it without asking any DLL. Free of
// Windows; header only, as the programs share no objects.
#ifndef SHA256_H
#define SHA256_H

#include <cstddef>
#include <cstdint>
#include <cstring>

enum { SHA256_SIZE = 32 };

struct Sha256 {
    uint32_t state[8];
    uint64_t length;           // bytes added so far
    unsigned char block[64];
    size_t used;               // bytes of block filled
};

inline uint32_t Sha256Rotate(uint32_t x, int n)
{
    return (x >> n) | (x << (32 - n));
}

inline void Sha256Block(Sha256* sha, const unsigned char* data)
{
    static const uint32_t k[64] = {
        0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
        0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
        0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
        0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
        0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
        0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
        0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
        0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};
    uint32_t w[64];
    for (int i = 0; i < 16; ++i)
        w[i] = uint32_t(data[4 * i]) << 24 | uint32_t(data[4 * i + 1]) << 16 |
               uint32_t(data[4 * i + 2]) << 8 | uint32_t(data[4 * i + 3]);
    for (int i = 16; i < 64; ++i) {
        const uint32_t s0 = Sha256Rotate(w[i - 15], 7) ^ Sha256Rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const uint32_t s1 = Sha256Rotate(w[i - 2], 17) ^ Sha256Rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    uint32_t v[8];
    std::memcpy(v, sha->state, sizeof v);
    for (int i = 0; i < 64; ++i) {
        const uint32_t s1 = Sha256Rotate(v[4], 6) ^ Sha256Rotate(v[4], 11) ^ Sha256Rotate(v[4], 25);
        const uint32_t choice = (v[4] & v[5]) ^ (~v[4] & v[6]);
        const uint32_t t1 = v[7] + s1 + choice + k[i] + w[i];
        const uint32_t s0 = Sha256Rotate(v[0], 2) ^ Sha256Rotate(v[0], 13) ^ Sha256Rotate(v[0], 22);
        const uint32_t majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
        std::memmove(v + 1, v, 7 * sizeof v[0]);
        v[4] += t1;
        v[0] = t1 + s0 + majority;
    }
    for (int i = 0; i < 8; ++i)
        sha->state[i] += v[i];
}

inline void Sha256Start(Sha256* sha)
{
    static const uint32_t initial[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                        0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::memcpy(sha->state, initial, sizeof initial);
    sha->length = 0;
    sha->used = 0;
}

inline void Sha256Add(Sha256* sha, const void* data, size_t size)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    sha->length += size;
    while (size > 0) {
        size_t take = sizeof sha->block - sha->used;
        if (take > size)
            take = size;
        std::memcpy(sha->block + sha->used, bytes, take);
        sha->used += take;
        bytes += take;
        size -= take;
        if (sha->used == sizeof sha->block) {
            Sha256Block(sha, sha->block);
            sha->used = 0;
        }
    }
}

inline void Sha256Finish(Sha256* sha, unsigned char digest[SHA256_SIZE])
{
    const uint64_t bits = sha->length * 8;
    const unsigned char one = 0x80, zero = 0;
    Sha256Add(sha, &one, 1);
    while (sha->used != 56)
        Sha256Add(sha, &zero, 1);
    unsigned char size[8];
    for (int i = 0; i < 8; ++i)
        size[i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
    Sha256Add(sha, size, sizeof size);
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 4; ++j)
            digest[4 * i + j] = static_cast<unsigned char>(sha->state[i] >> (24 - 8 * j));
}

// The digest as 64 small hexadecimal digits and a zero, as sha256sum prints it.
inline void Sha256Text(const unsigned char digest[SHA256_SIZE], char text[2 * SHA256_SIZE + 1])
{
    static const char digits[] = "0123456789abcdef";
    for (int i = 0; i < SHA256_SIZE; ++i) {
        text[2 * i] = digits[digest[i] >> 4];
        text[2 * i + 1] = digits[digest[i] & 15];
    }
    text[2 * SHA256_SIZE] = 0;
}

#endif
