#include "qsk3res/qsk3res.h"

#include <stdlib.h>
#include <string.h>

#ifndef QSK3RES_HOME_PAGE
#define QSK3RES_HOME_PAGE "https://www.rovanda.example/"
#endif

/* Returns a copy the caller owns, so that the caller never writes into or frees our constant. */
char *RovandaHpURL(void)
{
    static const char address[] = QSK3RES_HOME_PAGE;
    char *copy = malloc(sizeof address);
    if (copy != NULL) {
        memcpy(copy, address, sizeof address);
    }
    return copy;
}

void RovandaFreeString(char *text)
{
    free(text);
}
