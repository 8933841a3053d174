# Debian packages the build, the tests and the menu need; sourced by run.sh and test.sh.
# Each package is here from the commit that first uses it.
KAVLO_PACKAGES=(
    cmake ninja-build g++ pkg-config
    clang libclang-rt-14-dev              # the fuzz preset (libFuzzer)
    g++-mingw-w64-i686-posix               # cross-build check of the portable core
    libgtest-dev libbenchmark-dev
    nlohmann-json3-dev libcli11-dev
    fonts-dejavu-core                      # the sample disc's two display fonts
    fonts-dejavu-extra                     # a face lacking characters, for the text fallback test
    libarchive-dev unar                    # reading RAR archives: libarchive, unar/lsar behind it
    liblnk-dev libbfio-dev                 # reading shortcuts (.lnk); liblnk.h includes libbfio.h
    libfreetype-dev libfontconfig-dev      # text on the skin
    libjpeg62-turbo-dev libpng-dev         # pictures in, screenshots out
    libsdl2-dev libx11-dev libxext-dev     # the window, and its outline through the X SHAPE extension
    libxtst-dev                            # the window tests click through the XTEST extension
    xvfb                                   # a display for the window test
    libmpg123-dev                          # the music plug-in decodes MP3
    libarchive-tools                       # bsdtar reads back the archives our writer makes (lsar: unar)
    lame                                   # encoding the sample disc's music tracks at build time
)

# Installs whatever of KAVLO_PACKAGES is missing (as root, or through sudo).
ensure_packages() {
    local missing=()
    for pkg in "${KAVLO_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
