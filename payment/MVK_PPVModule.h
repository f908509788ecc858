#pragma once
/* MVK_PPVModule: sells one viewing of a paid movie through the server's purchase page. */
#ifdef __cplusplus
extern "C" {
#endif

/* Shows the payment dialog for the purchase page at url, modally, in the calling program's Qt
 * application (the caller's thread must be that application's thread), and returns when the page
 * reports the outcome or the guest closes the window.
 * Returns 0 when the viewing was bought, -2 otherwise.
 * On 0 the order number is copied into buffer as a NUL-terminated text cut to 254 bytes (the
 * buffer must hold 255); a null buffer gets nothing. On -2 the buffer is left untouched.
 * The host program must have called PrepareWebEngine() (or done what it does) before creating
 * its QApplication; without that, without a QApplication, on another thread or without an http or
 * https url, doPPV traces the reason and returns -2. */
int doPPV(const char* url, char* buffer);

#ifdef __cplusplus
}
#endif
