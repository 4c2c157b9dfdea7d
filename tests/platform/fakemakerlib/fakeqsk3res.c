/* Stand-ins for the maker's resource library, one per behaviour, chosen when compiled:
 * FAKE_ADDRESS the text RovandaHpURL returns, FAKE_RETURNS_NULL a failed call,
 * FAKE_WITHOUT_ADDRESS_FUNCTION a library that lacks RovandaHpURL. */
#include "qsk3res/qsk3res.h"

#include <stdlib.h>
#include <string.h>

#ifndef FAKE_WITHOUT_ADDRESS_FUNCTION
char *RovandaHpURL(void)
{
#ifdef FAKE_RETURNS_NULL
    return NULL;
#else
    static const char address[] = FAKE_ADDRESS;
    char *copy = malloc(sizeof address);
    if (copy != NULL) {
        memcpy(copy, address, sizeof address);
    }
    return copy;
#endif
}
#endif

void RovandaFreeString(char *text)
{
    free(text);
}
