# Shared by the project's commands: configuring and building the two trees.
# Source it after setting $root (the source tree).

build_root=${TOVIMO_BUILD_ROOT:-$root/build}
native_dir=$build_root/native
windows_dir=$build_root/windows
jobs=${TOVIMO_JOBS:-2}

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
    cmake -S "$root" -B "$native_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
    ninja -C "$native_dir" -j "$jobs"
}

build_windows() {
    forget_foreign_tree "$windows_dir"
    cmake -S "$root" -B "$windows_dir" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
    ninja -C "$windows_dir" -j "$jobs"
}
