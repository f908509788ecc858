#pragma once
/* OverlayKit: rebuilds the logo overlay's picture list at every movie start. */
#ifdef __cplusplus
extern "C" {
#endif

/* Writes the list of logo pictures for the next movie into logo.ini beside the loading program
 * ([LOGO] logo-file) and to the trace. variant (non-zero) selects the folders of the adult class
 * "Y". Returns non-zero only on a failure, which the rebuild never reports: 0 after every call. */
unsigned char LogoChange(unsigned char variant);

#ifdef __cplusplus
}
#endif
