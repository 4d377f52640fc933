#!/usr/bin/env bash
# Mounts a real file system for the tests that run on one, and takes it down again.
#
#   realfs-mount.sh mount KIND DIR   mounts a fresh file system of KIND at DIR/mnt
#   realfs-mount.sh remount DIR      unmounts it, attaches its image to another loop device
#                                    (so the device number changes) and mounts it again
#   realfs-mount.sh unmount DIR      unmounts, detaches the loop devices, stops the SSH
#                                    server, removes DIR
#   realfs-mount.sh guard DIR        returns at once, leaving behind a process that waits for
#                                    the end of its stdin (a pipe the test process holds) and
#                                    then unmounts DIR, however the test process ended
#   realfs-mount.sh sweep [BASE]     takes down what test processes that died left under BASE
#                                    ($MORVANE_REALFS_BASE, else $TMPDIR/morvane-realfs)
#
# KIND: ext4 xfs btrfs tmpfs exfat vfat ntfs sshfs. Images are sparse files in DIR. The FAT
# family goes through FUSE drivers (exfat-fuse, fusefat, ntfs-3g) as on a desktop without
# the kernel drivers; sshfs mounts a folder of DIR through an SSH server of its own on
# 127.0.0.1. Exit status 77: the file system cannot be had here (a tool is missing, no root,
# mounting failed); the output says why. Everything set up is found again from DIR (mounts
# below it, loop devices on its image, the SSH server's pid file), so unmount and sweep take
# down a half-made mount too.
set -uo pipefail
export PATH="/usr/sbin:/sbin:$PATH"

skip() {
    echo "$*" >&2
    exit 77
}

# Runs a command; on failure prints what failed and the end of its output, and skips. The
# output goes to a file: a FUSE daemon keeps what it was given after it forks away.
try() {
    if ! "$@" >"$dir/command.log" 2>&1 </dev/null; then
        skip "$kind: '$*' failed: $(tail -n 5 "$dir/command.log")"
    fi
}

need() {
    local tool=$1 package=$2
    command -v "$tool" >/dev/null || skip "$kind: $tool is missing (apt-get install $package)"
}

image_size() {
    case $1 in
        xfs) echo 300M ;;  # the least mkfs.xfs makes
        btrfs) echo 256M ;;
        *) echo 128M ;;
    esac
}

check_tools() {
    case $kind in
        ext4) need mkfs.ext4 e2fsprogs ;;
        xfs) need mkfs.xfs xfsprogs ;;
        btrfs) need mkfs.btrfs btrfs-progs ;;
        exfat)
            need mkfs.exfat exfatprogs
            need mount.exfat-fuse exfat-fuse
            ;;
        vfat)
            need mkfs.vfat dosfstools
            need fusefat fusefat
            ;;
        ntfs)
            need mkfs.ntfs ntfs-3g
            need ntfs-3g ntfs-3g
            ;;
        sshfs)
            need sshfs sshfs
            need ssh-keygen openssh-client
            [ -x /usr/sbin/sshd ] || skip "sshfs: /usr/sbin/sshd is missing (apt-get install openssh-server)"
            ;;
        tmpfs) ;;
        *) skip "unknown file system kind: $kind" ;;
    esac
    case $kind in
        exfat | vfat | ntfs | sshfs)
            [ -c /dev/fuse ] || skip "$kind: /dev/fuse is missing"
            ;;
    esac
    case $kind in
        tmpfs | sshfs) ;;
        *)
            need losetup mount
            [ -e /dev/loop-control ] || skip "$kind: no loop devices here (/dev/loop-control is missing)"
            ;;
    esac
}

# Mounts the image's file system from the loop device.
mount_loop() {
    local loop=$1
    case $kind in
        ext4 | xfs | btrfs) try mount -t "$kind" "$loop" "$mnt" ;;
        exfat) try mount.exfat-fuse "$loop" "$mnt" ;;
        # Without rw+ fusefat mounts read-only.
        vfat) try fusefat -o rw+ "$loop" "$mnt" ;;
        ntfs) try ntfs-3g "$loop" "$mnt" ;;
    esac
}

attach() {
    local loop
    loop=$(losetup --find --show "$dir/image" 2>&1) || skip "$kind: no loop device: $loop"
    echo "$loop"
}

# The loop devices on the folder's image, asked of the devices themselves: a device we
# detached earlier may be another test's by now.
loops_of() {
    [ -f "$1/image" ] && losetup --associated "$1/image" --noheadings --output NAME 2>/dev/null
}

make_image() {
    truncate -s "$(image_size "$kind")" "$dir/image" || skip "$kind: cannot make an image in $dir"
    local loop
    loop=$(attach) || exit $?
    case $kind in
        ext4) try mkfs.ext4 -q -F "$loop" ;;
        xfs) try mkfs.xfs -q -f "$loop" ;;
        btrfs) try mkfs.btrfs -q -f "$loop" ;;
        exfat) try mkfs.exfat "$loop" ;;
        # FAT32 lifts FAT16's fixed number of entries in the top folder.
        vfat) try mkfs.vfat -F 32 "$loop" ;;
        ntfs) try mkfs.ntfs -Q -F "$loop" ;;
    esac
    mount_loop "$loop"
}

# An SSH server on a free port of 127.0.0.1 with its own host key, configuration and the one
# key it lets in, in the foreground of a process of its own whose id we keep.
start_sshd() {
    mkdir -p "$dir/share"
    try ssh-keygen -q -t ed25519 -N '' -C morvane-realfs-host -f "$dir/host_key"
    try ssh-keygen -q -t ed25519 -N '' -C morvane-realfs-client -f "$dir/client_key"
    cp "$dir/client_key.pub" "$dir/authorized_keys"
    # Its privilege separation folder, which the package's service makes at boot.
    mkdir -p -m 755 /run/sshd || skip "sshfs: cannot make /run/sshd"
    local port pid attempt i
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        port=$((20000 + (RANDOM * 32768 + RANDOM) % 40000))
        cat >"$dir/sshd_config" <<EOF
Port $port
ListenAddress 127.0.0.1
HostKey $dir/host_key
PidFile none
AuthorizedKeysFile $dir/authorized_keys
AllowUsers $(id -un)
PubkeyAuthentication yes
PasswordAuthentication no
KbdInteractiveAuthentication no
PermitRootLogin prohibit-password
StrictModes no
UsePAM no
Subsystem sftp internal-sftp
EOF
        : >"$dir/sshd.log"
        /usr/sbin/sshd -D -f "$dir/sshd_config" -E "$dir/sshd.log" </dev/null >/dev/null 2>&1 &
        pid=$!
        echo "$pid" >"$dir/sshd.pid"
        for i in $(seq 100); do
            grep -q "Server listening" "$dir/sshd.log" && break 2
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$pid" 2>/dev/null
        port=
    done
    [ -n "$port" ] || skip "sshfs: the SSH server did not start: $(tail -n 3 "$dir/sshd.log")"
    echo "[127.0.0.1]:$port $(cat "$dir/host_key.pub")" >"$dir/known_hosts"
    cat >"$dir/ssh_config" <<EOF
Host morvane-realfs
  HostName 127.0.0.1
  Port $port
  User $(id -un)
  IdentityFile $dir/client_key
  IdentitiesOnly yes
  UserKnownHostsFile $dir/known_hosts
  GlobalKnownHostsFile /dev/null
  StrictHostKeyChecking yes
  BatchMode yes
  ConnectTimeout 10
EOF
}

mount_sshfs() {
    try sshfs -F "$dir/ssh_config" "morvane-realfs:$dir/share" "$mnt"
}

# The process of a pid file, if it is still the SSH server this directory started.
our_sshd() {
    local pid
    pid=$(cat "$1/sshd.pid" 2>/dev/null) || return 1
    [ -n "$pid" ] && tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF "$1/sshd_config" &&
        echo "$pid"
}

mounted() {
    # Mount points in mountinfo escape blanks; ours have none.
    awk -v m="$1" '$5 == m { found = 1 } END { exit !found }' /proc/self/mountinfo
}

# Unmounts, however stuck: a FUSE daemon that hangs gets its connection aborted, and a mount
# still busy is detached lazily.
unmount_point() {
    local m=$1
    mounted "$m" || return 0
    timeout 60 umount "$m" 2>/dev/null && return 0
    timeout 10 fusermount3 -u "$m" 2>/dev/null && return 0
    timeout 10 fusermount -u "$m" 2>/dev/null && return 0
    local minor
    minor=$(awk -v m="$m" '$5 == m { split($3, d, ":"); print d[2] }' /proc/self/mountinfo)
    case $(awk -v m="$m" '$5 == m { for (i = 7; $i != "-"; i++); print $(i + 1) }' /proc/self/mountinfo) in
        fuse*) [ -n "$minor" ] && echo 1 >"/sys/fs/fuse/connections/$minor/abort" 2>/dev/null ;;
    esac
    umount -l "$m" 2>/dev/null || true
    ! mounted "$m"
}

detach_loops() {
    local loop
    for loop in $(loops_of "$1"); do
        losetup -d "$loop" 2>/dev/null || true
    done
}

# The mount points under a folder, deepest first.
mounts_under() {
    awk -v p="$1/" 'index($5, p) == 1 { print $5 }' /proc/self/mountinfo | sort -r
}

take_down() {
    local d=$1 pid m ok=0
    while read -r m; do
        unmount_point "$m" || ok=1
    done < <(mounts_under "$d")
    if pid=$(our_sshd "$d"); then
        kill "$pid" 2>/dev/null || true
    fi
    detach_loops "$d"
    # Never delete through a mount: whatever is still mounted below stays with its files.
    if [ -n "$(mounts_under "$d")" ]; then
        echo "still mounted under $d; left in place" >&2
        return 1
    fi
    rm -rf --one-file-system "$d"
    return $ok
}

# A mount without a device of its own (btrfs, FUSE) gets the lowest free anonymous device
# number, often the one it just gave back. Small tmpfs mounts take numbers until they hold
# that one, so the next mount gets another; release_numbers gives them back.
hold_number() {
    local number=$1 i
    mkdir -p "$dir/hold"
    for i in $(seq 64); do
        mkdir -p "$dir/hold/$i"
        mount -t tmpfs -o size=4k morvane-realfs-hold "$dir/hold/$i" || return 0
        [ "$(stat -c %d "$dir/hold/$i")" = "$number" ] && return 0
    done
}
release_numbers() {
    local m
    while read -r m; do
        unmount_point "$m"
    done < <(mounts_under "$dir/hold")
}

# Where the tests make their folders, one per test process.
default_base() {
    local tmp=${TMPDIR:-/tmp}
    echo "${MORVANE_REALFS_BASE:-${tmp%/}/morvane-realfs}"
}

command=${1:-}
case $command in
    mount)
        kind=${2:?usage: realfs-mount.sh mount KIND DIR}
        dir=${3:?usage: realfs-mount.sh mount KIND DIR}
        [ "$(id -u)" -eq 0 ] || skip "$kind: mounting needs root"
        check_tools
        mnt=$dir/mnt
        mkdir -p "$mnt"
        echo "$kind" >"$dir/kind"
        case $kind in
            tmpfs) try mount -t tmpfs -o size=256m,mode=755 morvane-realfs "$mnt" ;;
            sshfs)
                start_sshd
                mount_sshfs
                ;;
            *) make_image ;;
        esac
        ;;
    remount)
        dir=${2:?usage: realfs-mount.sh remount DIR}
        kind=$(cat "$dir/kind")
        mnt=$dir/mnt
        [ "$kind" = tmpfs ] && skip "tmpfs: nothing is left of a tmpfs once it is unmounted"
        number=$(stat -c %d "$mnt")
        anonymous=$(stat -c %Hd "$mnt")  # major 0: no device of its own
        unmount_point "$mnt" || skip "$kind: cannot unmount $mnt"
        [ "$anonymous" = 0 ] && hold_number "$number"
        if [ "$kind" = sshfs ]; then
            mount_sshfs
        else
            old=$(loops_of "$dir")
            # Attached while the old one still holds the image: surely another device.
            new=$(attach) || exit $?
            for loop in $old; do
                losetup -d "$loop" 2>/dev/null || true
            done
            mount_loop "$new"
        fi
        release_numbers
        ;;
    unmount)
        dir=${2:?usage: realfs-mount.sh unmount DIR}
        [ -d "$dir" ] || exit 0
        take_down "$dir"
        ;;
    guard)
        dir=${2:?usage: realfs-mount.sh guard DIR}
        # In a session of its own, so that what kills the test process and its group misses it.
        # A background command's stdin would be /dev/null unless said otherwise.
        exec 3<&0
        setsid "$0" guard-wait "$dir" <&3 >/dev/null 2>&1 &
        ;;
    guard-wait)
        dir=$2
        trap '' HUP INT TERM
        cat >/dev/null
        [ -d "$dir" ] && take_down "$dir"
        exit 0
        ;;
    sweep)
        base=${2:-$(default_base)}
        [ -d "$base" ] || exit 0
        [ "$(id -u)" -eq 0 ] || exit 0  # only root mounts here
        status=0
        for d in "$base"/*/; do
            d=${d%/}
            [ -d "$d" ] || continue
            # A test process that still runs keeps its mounts.
            owner=$(cat "$d/owner" 2>/dev/null || true)
            if [ -n "$owner" ] && [ -e "/proc/$owner" ] &&
                tr '\0' ' ' <"/proc/$owner/cmdline" 2>/dev/null | grep -q morvane_realfs; then
                continue
            fi
            echo "taking down what a test left: $d"
            take_down "$d" || status=1
        done
        exit $status
        ;;
    *)
        echo "usage: realfs-mount.sh mount KIND DIR | remount DIR | unmount DIR | guard DIR | sweep [BASE]" >&2
        exit 2
        ;;
esac
