# Installs the Debian packages the build needs when any is missing. Sourced by ./run and ./test.
# Qt Charts needs Qt OpenGL's CMake files, which its -dev package does not pull in.
DATALOADER_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libsqlite3-dev
                     qt6-charts-dev libqt6opengl6-dev qt6-svg-dev mdbtools-dev mdbtools
                     libgtest-dev libbenchmark-dev sqlite3 fonts-dejavu-core xvfb xauth
                     libpq-dev postgresql dpkg-dev)

install_missing_packages() {
    local missing=()
    for p in "${DATALOADER_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Each library builds as a few units of at most eight source files (unity build), which with
# the precompiled headers more than halves a first build's time. ./test builds the same way
# as ./run so it catches a name two files of one library both define, which only this breaks.
# The debugging information is line tables (-g1): a backtrace still names every function, file
# and line, and the build takes a fifth less time. For a debugger's view of variables, build
# elsewhere with CMake's own RelWithDebInfo (-g) or Debug.
configure_build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
          "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" \
          -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=8 >/dev/null
}
