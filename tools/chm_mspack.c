/* Reads a .CHM with libmspack, a reader independent of our compiler, for
 * tools/check_chm.py: extracts each file of the listing to DIR/<n> and prints
 * its name as line n. Exits non-zero when the file or any entry fails.
 *
 *   chm_mspack file.chm DIR
 */
#include <mspack.h>
#include <stdio.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s file.chm DIR\n", argv[0]);
        return 2;
    }
    struct mschm_decompressor* chmd = mspack_create_chm_decompressor(NULL);
    if (!chmd) return 2;
    struct mschmd_header* chm = chmd->open(chmd, argv[1]);
    if (!chm) {
        fprintf(stderr, "libmspack cannot open %s: error %d\n", argv[1], chmd->last_error(chmd));
        mspack_destroy_chm_decompressor(chmd);
        return 1;
    }
    int status = 0, n = 0;
    for (struct mschmd_file* file = chm->files; file; file = file->next, ++n) {
        char out[4096];
        snprintf(out, sizeof out, "%s/%d", argv[2], n);
        if (chmd->extract(chmd, file, out) != MSPACK_ERR_OK) {
            fprintf(stderr, "libmspack cannot read %s: error %d\n", file->filename, chmd->last_error(chmd));
            status = 1;
        }
        printf("%s\n", file->filename);
    }
    chmd->close(chmd, chm);
    mspack_destroy_chm_decompressor(chmd);
    return status;
}
