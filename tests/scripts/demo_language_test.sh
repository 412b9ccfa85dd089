#!/usr/bin/env bash
# scripts/run --demo starts the tool in the language of the user's locale: a table of locale names.
set -u
source "$(dirname "$0")/../../scripts/lib.sh"
failed=0
while read -r locale expected; do
    got=$(zevo_language_word "$locale")
    if [ "$got" != "$expected" ]; then
        echo "locale '$locale': got $got, expected $expected"
        failed=1
    fi
done <<'TABLE'
cs_CZ.UTF-8 CESKY
cs CESKY
cs_CZ@euro CESKY
de_DE.UTF-8 DEUTSCH
de_AT.UTF-8 DEUTSCH
de_CH DEUTSCH
en_GB.UTF-8 ENGLISH
C.UTF-8 ENGLISH
POSIX ENGLISH
fr_FR.UTF-8 ENGLISH
csb_PL.UTF-8 ENGLISH
dsb_DE ENGLISH
TABLE
[ "$(zevo_language_word "")" = ENGLISH ] || { echo "no locale: not ENGLISH"; failed=1; }
exit $failed
