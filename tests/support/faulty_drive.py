#!/usr/bin/python3
"""A drive that lies, for the tests: a FUSE file system over a folder that
reports every write as done, but gives back other bytes than were written
(for every file, or for the files whose content starts with given text: a
copy is read back under its temporary name, so the drive cannot go by the
final one), or keeps nothing past a given size, as a counterfeit USB stick
does.

Usage: faulty_drive.py BACKING MOUNTPOINT [--corrupt START|*] [--keep BYTES]
"""

import os
import sys

from fusepy import FUSE, Operations  # Debian names the module fusepy


class FaultyDrive(Operations):
    def __init__(self, backing, corrupt, keep):
        self.backing = backing
        self.corrupt = corrupt
        self.keep = keep
        self.sizes = {}  # the size each file was given, whatever was kept

    def _path(self, path):
        return os.path.join(self.backing, path.lstrip("/"))

    def _corrupted(self, fh):
        if self.corrupt is None:
            return False
        return self.corrupt == "*" or os.pread(fh, len(self.corrupt), 0) == self.corrupt.encode()

    def getattr(self, path, fh=None):
        st = os.lstat(self._path(path))
        attributes = {key: getattr(st, key) for key in (
            "st_mode", "st_nlink", "st_uid", "st_gid", "st_size", "st_atime", "st_mtime", "st_ctime")}
        if path in self.sizes:
            attributes["st_size"] = max(attributes["st_size"], self.sizes[path])
        return attributes

    def readdir(self, path, fh):
        return [".", ".."] + os.listdir(self._path(path))

    def mkdir(self, path, mode):
        os.mkdir(self._path(path), mode)

    def rmdir(self, path):
        os.rmdir(self._path(path))

    def unlink(self, path):
        os.unlink(self._path(path))
        self.sizes.pop(path, None)

    def rename(self, old, new):
        if os.path.exists(self._path(new)) and not os.path.isdir(self._path(new)):
            os.unlink(self._path(new))
        os.rename(self._path(old), self._path(new))
        if old in self.sizes:
            self.sizes[new] = self.sizes.pop(old)

    def chmod(self, path, mode):
        os.chmod(self._path(path), mode)

    def chown(self, path, uid, gid):
        os.chown(self._path(path), uid, gid)

    def utimens(self, path, times=None):
        os.utime(self._path(path), times)

    def truncate(self, path, length, fh=None):
        os.truncate(self._path(path), min(length, self.keep) if self.keep is not None else length)
        self.sizes[path] = length

    def open(self, path, flags):
        return os.open(self._path(path), flags & ~(os.O_DIRECT | os.O_EXCL | os.O_CREAT))

    def create(self, path, mode, fi=None):
        self.sizes[path] = 0
        return os.open(self._path(path), os.O_RDWR | os.O_CREAT | os.O_EXCL, mode)

    def read(self, path, size, offset, fh):
        data = os.pread(fh, size, offset)
        logical = self.sizes.get(path)
        if logical is not None and offset + len(data) < min(offset + size, logical):
            data += bytes(min(offset + size, logical) - offset - len(data))
        if data and self._corrupted(fh):
            data = bytes(b ^ 0x5A for b in data)
        return data

    def write(self, path, data, offset, fh):
        # Every byte is reported written; past the size it keeps, none is.
        self.sizes[path] = max(self.sizes.get(path, 0), offset + len(data))
        kept = data if self.keep is None else data[:max(0, self.keep - offset)]
        if kept:
            os.pwrite(fh, kept, offset)
        return len(data)

    def flush(self, path, fh):
        return 0

    def fsync(self, path, datasync, fh):
        os.fsync(fh)
        return 0

    def release(self, path, fh):
        os.close(fh)
        return 0

    def statfs(self, path):
        st = os.statvfs(self.backing)
        return {key: getattr(st, key) for key in (
            "f_bavail", "f_bfree", "f_blocks", "f_bsize", "f_favail", "f_ffree", "f_files", "f_flag",
            "f_frsize", "f_namemax")}


def main():
    backing, mountpoint = sys.argv[1], sys.argv[2]
    corrupt = keep = None
    arguments = sys.argv[3:]
    while arguments:
        option, value = arguments[0], arguments[1]
        arguments = arguments[2:]
        if option == "--corrupt":
            corrupt = value
        elif option == "--keep":
            keep = int(value)
    FUSE(FaultyDrive(backing, corrupt, keep), mountpoint, foreground=True, nothreads=True)


if __name__ == "__main__":
    main()
