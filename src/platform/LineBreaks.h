#pragma once

// Finding the line breaks of list-file bytes in UTF-8 or the ANSI code page,
// where CR and LF are single bytes that never stand inside a character.

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vocab::LineBreaks {

// The first CR or LF at or after `p`, or `end`. Looked for sixteen bytes at a
// time where the processor can: an article file is passed over line by line
// up to the article wanted.
inline const char *find(const char *p, const char *end)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        if (const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))))
            return p + __builtin_ctz(unsigned(mask));
    }
#endif
    while (p < end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

// Past the line that begins at `p`: after its break, or at `end`.
inline const char *nextLine(const char *p, const char *end)
{
    const char *brk = find(p, end);
    if (brk == end)
        return end;
    return *brk == '\r' && brk + 1 < end && brk[1] == '\n' ? brk + 2 : brk + 1;
}

} // namespace vocab::LineBreaks
