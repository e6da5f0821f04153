# Shared by the project's commands: configuring and building the two trees.
# Source it after setting $root (the source tree).

build_root=${TOVIMO_BUILD_ROOT:-$root/build}
native_dir=$build_root/native
windows_dir=$build_root/windows
jobs=${TOVIMO_JOBS:-2}

# ccache, where a developer has installed it, lets several work trees share
# their compiles; the build does not need it. The tests' precompiled header
# is cached only with this sloppiness.
launcher=()
if command -v ccache >/dev/null 2>&1; then
    ccache_launcher="env;CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime;ccache"
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER="$ccache_launcher" -DCMAKE_C_COMPILER_LAUNCHER="$ccache_launcher")
fi

# A build tree made from another copy of the sources cannot be reused.
forget_foreign_tree() {
    local dir=$1 cache=$1/CMakeCache.txt
    [[ -f $cache ]] || return 0
    local home
    home=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$cache")
    if [[ $home != "$root" ]]; then
        echo "build: $dir was made from $home; starting it afresh" >&2
        rm -rf "$dir"
    fi
}

build_native() {
    forget_foreign_tree "$native_dir"
    cmake -S "$root" -B "$native_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug "${launcher[@]}" >/dev/null
    ninja -C "$native_dir" -j "$jobs"
}

build_windows() {
    forget_foreign_tree "$windows_dir"
    cmake -S "$root" -B "$windows_dir" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
    ninja -C "$windows_dir" -j "$jobs"
}
