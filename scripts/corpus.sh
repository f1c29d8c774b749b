# Sourced by the scripts that build the core another way (software type,
# other processor): compares the worksheet corpus that such a build writes
# with the one of the hardware build, byte for byte.

# fiche_compare_corpus REFERENCE WRITTEN LABEL
fiche_compare_corpus() {
  local reference=$1 written=$2 label=$3
  if cmp "$reference" "$written"; then
    echo "$label: worksheet corpus identical to the x86 hardware one" \
      "($(grep -c '^[A-Z][a-z]*_N' "$written") worksheets, $(stat -c %s "$written") bytes," \
      "sha256 $(sha256sum "$written" | cut -c1-16))"
  else
    echo "$label: worksheet corpus differs from the x86 hardware one" >&2
    return 1
  fi
}
