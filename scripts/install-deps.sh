#!/usr/bin/env bash
# Installs the Debian packages needed to build, test and benchmark Corvane Synth PCM.
# It never removes a package: when apt's plan would remove any, it stops and says which.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libbenchmark-dev
  # JACK 2 named first, so that FluidSynth's development package does not pull in
  # JACK 1, which would replace a musician's JACK 2 server.
  libjack-jackd2-dev jackd2
  libfluidsynth-dev timgm6mb-soundfont
  juce-modules-source
  libcairo2-dev libx11-dev fonts-liberation2
  zenity xvfb xdotool x11-xserver-utils
  clang libclang-rt-14-dev clang-format
  dpkg-dev file lintian
  ardour
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq

removals=$(apt-get -s install -y --no-install-recommends "${missing[@]}" | grep '^Remv' || true)
if [ -n "$removals" ]; then
  {
    echo "install-deps.sh: installing ${missing[*]} would remove these packages:"
    sed 's/^Remv /  /' <<<"$removals"
    echo "Nothing was installed. Remove or replace them yourself if you are sure, then run this again."
  } >&2
  exit 1
fi

# jackd2 asks whether to allow real-time priority; answer its default (no) so that the
# install never waits on a question. `dpkg-reconfigure jackd2` changes it later.
if printf '%s\n' "${missing[@]}" | grep -qx jackd2; then
  echo "jackd2 jackd/tweak_rt_limits boolean false" | $sudo debconf-set-selections
fi
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
