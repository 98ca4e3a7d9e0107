# もけらメモ帳: `make run` builds and starts the editor, `make test` runs every test.
# Both install what is missing first (Debian 12, as root or with sudo).

.PHONY: all setup build native run test bench bench-editor dist clean

all: build

setup:
	@bash scripts/setup.sh

build: setup
	@cmake --preset mingw >/dev/null
	@cmake --build --preset mingw

native: setup
	@cmake --preset native >/dev/null
	@cmake --build --preset native

run: build
	@bash scripts/run.sh

test: build native
	@bash scripts/test.sh

bench: build
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench
	@bash scripts/bench.sh

bench-editor: build
	@bash scripts/bench-editor.sh

dist: build
	@bash scripts/dist.sh

clean:
	rm -rf build dist
