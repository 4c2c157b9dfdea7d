#ifndef QSK3RES_H
#define QSK3RES_H

/*
 * QSK3Res: the maker's resource library. It stands beside the program file (QSK3Res.dll on
 * Windows, libQSK3Res.so on Linux, libQSK3Res.dylib on macOS) and tells the program where the
 * maker's home page is. The program loads it by its full path, only from its own folder.
 *
 * Allocation contract: every string this library returns is allocated by the library and belongs
 * to the caller, who must release it with RovandaFreeString() from this same library, exactly
 * once. Do not pass it to free() or delete: on Windows the library and the program may use
 * different C run-time heaps.
 */

#if defined(_WIN32)
#if defined(QSK3RES_BUILDING)
#define QSK3RES_EXPORT __declspec(dllexport)
#else
#define QSK3RES_EXPORT __declspec(dllimport)
#endif
#else
#define QSK3RES_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/*
 * The maker's home page as a new NUL-terminated UTF-8 string holding an absolute http or https
 * address. Takes no arguments. Returns NULL if the string cannot be allocated. The caller frees
 * the result with RovandaFreeString().
 */
QSK3RES_EXPORT char *RovandaHpURL(void);

/* Releases a string returned by this library. NULL is allowed and does nothing. */
QSK3RES_EXPORT void RovandaFreeString(char *text);

/* The function types, for callers that look the functions up at run time. */
typedef char *(*RovandaHpURLFunction)(void);
typedef void (*RovandaFreeStringFunction)(char *text);

#ifdef __cplusplus
}
#endif

#endif /* QSK3RES_H */
