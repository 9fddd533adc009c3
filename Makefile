# OSK: the two commands that do everything on a fresh Debian machine.
#   make run    install what is missing, build, start the editor under Wine on a sample file
#   make test   install what is missing, build both presets, run every test
.PHONY: all deps native windows test test-native test-windows run bench fuzz dist clean

JOBS ?= $(shell nproc)
# Cached compiles name files relative to the tree, so a fresh clone reuses what another clone compiled.
export CCACHE_BASEDIR := $(CURDIR)

all: native windows

deps:
	@scripts/install-deps.sh

native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS)

windows: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j $(JOBS)

test-native: native
	ctest --preset native

test-windows: windows
	ctest --preset windows

test: deps
	@$(MAKE) --no-print-directory test-native
	@$(MAKE) --no-print-directory test-windows

# The distribution: OSKSETUP.exe and its archive osksetup.da_ in build/dist, ready to copy to a disk or a share.
dist: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j $(JOBS) --target osk_dist
	@rm -rf build/dist && cp -r build/windows/dist build/dist
	@ls -l build/dist

run: windows
	scripts/run-editor.sh build/windows samples/welcome.txt

# Long fuzzing on demand: make fuzz FUZZ_SECONDS=600
FUZZ_SECONDS ?= 300
fuzz: native
	@for f in build/native/bin/fuzz_*; do echo "== $$f"; $$f -max_total_time=$(FUZZ_SECONDS) || exit 1; done

bench: deps
	bench/run.sh

clean:
	rm -rf build
