/* rxscan32: file search with an extended regular expression, a line
   matcher for one line of text, and a buffered line reader. Plain C
   interface; all state is process-wide, so one search at a time. */
#ifndef VESPER_RXSCAN32_H
#define VESPER_RXSCAN32_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(RXSCAN32_BUILDING)
#define RXSCAN32_API __attribute__((visibility("default")))
#else
#define RXSCAN32_API
#endif

/* Called once per matching line: line offset, line number (1-based) and the
   line text (NUL-terminated copy, at most 1023 bytes, valid during the call)
   or a null pointer when line text is not wanted. */
typedef void (*RxMatchCallback)(int offset, int line, const char* text);

RXSCAN32_API int SetCase(int fold);
RXSCAN32_API RxMatchCallback SetBoyerMoore(RxMatchCallback callback);
RXSCAN32_API int WantLine(int flag);
RXSCAN32_API int FileIsUnix(int flag);

RXSCAN32_API int ThreadCompileRegEx(const char* pattern);
RXSCAN32_API int ThreadFileGrep(const char* pattern, const char* fileName);
RXSCAN32_API int ThreadQuickGrep(const char* fileName);
RXSCAN32_API int GetLineCount(void);
RXSCAN32_API const char* GetLastGrepError(void);

RXSCAN32_API int InitGrepThread(void);
RXSCAN32_API int LatchGrepThread(int ignored);
RXSCAN32_API int HookGrepToDelphiThread(int ignored);
RXSCAN32_API int CaptureGrepThread(int ignored);
RXSCAN32_API int TerminateGrepThread(int ignored);

RXSCAN32_API int InitGrep(const char* pattern);
RXSCAN32_API int GrepLine(const char* text, int* result);
RXSCAN32_API int GetError(char* destination);

RXSCAN32_API int OpenGrepFile(const char* fileName);
RXSCAN32_API char* ReadGrepLine(void);
RXSCAN32_API int GetLastPos(void);
RXSCAN32_API int EofGrepFile(void);
RXSCAN32_API int CloseGrepFile(void);
RXSCAN32_API char* SetGrepBuffer(char* buffer);

#ifdef __cplusplus
}
#endif

#endif
