# Sourced by install-deps.sh: installs Debian packages, tolerating a package archive that is
# briefly inconsistent.
#
# apt_install PKG...   installs the packages that are not installed yet (quiet when none);
#                      PKG/SUITE takes the package from that suite.
# add_backports_source SUITE   adds Debian's backports suite (whose packages apt takes only
#                      when asked by name) beside the machine's own Debian source.
#
# `apt-get update` is tried a few times with a pause between tries: a mirror that is being
# synchronised serves an index whose size does not match its Release file ("Mirror sync in
# progress?") and apt-get exits 100, although nothing is wrong with the packages we need. When an
# index still fails after the last try, the install goes on without that suite: the suite is
# pinned below the installed versions for this one install, so that apt never mixes a package
# of one architecture from it with its other-architecture twin from the suite that loaded
# (multi-arch twins must have the same version). An install that still fails names the indexes
# that could not be fetched.

APT_UPDATE_TRIES=${APT_UPDATE_TRIES:-4}
APT_UPDATE_PAUSE=${APT_UPDATE_PAUSE:-20}

_apt_have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

# Prints the URLs of the indexes the last update could not fetch (from its log).
_apt_failed_indexes() { sed -n -E 's/^E: Failed to fetch ([^ ]+).*/\1/p' "$1" | sort -u; }

# Prints the suites ("http://host/path suite") of the failed indexes.
_apt_failed_suites() {
  _apt_failed_indexes "$1" | sed -n -E 's#^(https?://[^ ]+)/dists/([^/]+)/.*#\1 \2#p' | sort -u
}

# Writes an apt preferences file that pins each failed suite to priority 100: versions already
# installed stay, nothing new is taken from a suite whose index set is incomplete.
_apt_pin_failed() {
  local log=$1 prefs=$2 uri suite
  : >"$prefs"
  while read -r uri suite; do
    # The folder under dists/ is a codename or a suite name: pin both readings.
    printf 'Package: *\nPin: release %s=%s\nPin-Priority: 100\n\n' n "$suite" a "$suite" >>"$prefs"
  done < <(_apt_failed_suites "$log")
}

apt_install() {
  local need=() p
  for p in "$@"; do _apt_have "$p" || need+=("$p"); done
  [ ${#need[@]} -eq 0 ] && return 0
  echo "install-deps: installing ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  local log prefs try=1 opts=()
  log=$(mktemp /tmp/sorm-apt.XXXXXX)
  prefs=$(mktemp /tmp/sorm-apt-prefs.XXXXXX)
  # One update per install run: a later call takes the indexes (and the pins) the first left.
  if [ -n "${_APT_UPDATED:-}" ]; then
    [ -s "$_APT_UPDATED" ] && cp "$_APT_UPDATED" "$prefs" && opts=(-o "Dir::Etc::Preferences=$prefs")
    : >"$log"
  fi
  while [ -z "${_APT_UPDATED:-}" ]; do
    if apt-get update -q >"$log" 2>&1; then break; fi
    if [ "$try" -ge "$APT_UPDATE_TRIES" ]; then
      echo "install-deps: apt-get update still fails after $try tries; these indexes could not be fetched:"
      _apt_failed_indexes "$log" | sed 's/^/  /'
      _apt_pin_failed "$log" "$prefs"
      if [ -s "$prefs" ]; then
        echo "install-deps: installing without newer versions from: $(_apt_failed_suites "$log" | awk '{print $2}' | tr '\n' ' ')"
        opts=(-o "Dir::Etc::Preferences=$prefs")
      fi
      break
    fi
    echo "install-deps: apt-get update failed (try $try of $APT_UPDATE_TRIES); trying again in ${APT_UPDATE_PAUSE}s"
    _apt_failed_indexes "$log" | sed 's/^/  /'
    sleep "$APT_UPDATE_PAUSE"
    try=$((try + 1))
  done
  if [ -z "${_APT_UPDATED:-}" ]; then
    _APT_UPDATED=$(mktemp /tmp/sorm-apt-pins.XXXXXX)
    cp "$prefs" "$_APT_UPDATED"
    _APT_FAILED_INDEXES=$(_apt_failed_indexes "$log")
  fi
  local failed_indexes=$_APT_FAILED_INDEXES
  if ! apt-get install -y -q --no-install-recommends "${opts[@]}" "${need[@]}" >"$log" 2>&1; then
    echo "install-deps: installing failed:"
    grep -E '^(E:| [^ ].*: Depends)' "$log" | head -20 | sed 's/^/  /'
    [ -n "$failed_indexes" ] && { echo "  indexes that could not be fetched:"; echo "$failed_indexes" | sed 's/^/    /'; }
    for p in "${need[@]}"; do _apt_have "${p%%/*}" || echo "  not installed: ${p%%/*}"; done
    rm -f "$log" "$prefs"
    return 1
  fi
  rm -f "$log" "$prefs"
}

add_backports_source() {
  local suite=$1 file=/etc/apt/sources.list.d/sorm-$1.sources uri
  [ -f "$file" ] && return 0
  # The mirror the machine already uses for Debian, else Debian's own.
  uri=$(grep -hE '^URIs:.*/debian/?$' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -1 | awk '{print $2}')
  [ -n "$uri" ] || uri=$(grep -hE '^deb .*/debian/? ' /etc/apt/sources.list 2>/dev/null | head -1 | awk '{print $2}')
  [ -n "$uri" ] || uri=http://deb.debian.org/debian
  printf 'Types: deb\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$uri" "$suite" >"$file"
  _APT_UPDATED=  # the next install reads the indexes again, the new suite's included
  echo "install-deps: added $suite ($uri) to apt's sources"
}
