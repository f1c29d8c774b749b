// Compiled with the include paths of one library only: the header named by
// FICHE_PROBE_HEADER must (or must not) be reachable from that library.
#include FICHE_PROBE_HEADER

// Nothing to run: building is the check.
int fiche_probe() {
    return 0;
}
