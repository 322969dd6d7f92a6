# make run       - installs what is missing, builds quorvel.exe and starts it under Wine
# make test      - installs what is missing, builds everything and runs every test
# make test-asan - the native tests with AddressSanitizer, UBSan and assertions
# make package   - builds build/quorvel-win64.zip
# make bench     - the native benchmarks; make bench-gui - timings of the real window under Wine
#
# V=1 shows every test's output, the [ MEASURE  ] lines among it; WERROR=ON
# makes warnings errors. Paths may hold blanks and any character: they are
# quoted, and the scripts find the Wine prefix beside the build folders.
BUILD  ?= build
NATIVE := $(BUILD)/native
WIN    := $(BUILD)/win
ASAN   := $(BUILD)/asan
JOBS   ?= $(shell nproc 2>/dev/null || echo 2)
WERROR ?= OFF
V      ?=
CTEST  := ctest --output-on-failure $(if $(V),-V,)

export WINEDEBUG        := -all
export WINEDLLOVERRIDES := mscoree,mshtml=
export WINEARCH         := win64

.PHONY: all bootstrap native win asan test test-native test-wine test-asan run package bench \
        bench-gui clean

all: native win

bootstrap:
	@scripts/bootstrap.sh

native: bootstrap
	@cmake -S . -B "$(NATIVE)" -DCMAKE_BUILD_TYPE=Release -DQUORVEL_WERROR=$(WERROR) >/dev/null
	@cmake --build "$(NATIVE)" -j$(JOBS)

win: bootstrap
	@cmake -S . -B "$(WIN)" -DCMAKE_BUILD_TYPE=Release -DQUORVEL_WERROR=$(WERROR) \
	  -DCMAKE_TOOLCHAIN_FILE="$(CURDIR)/cmake/mingw-w64-x86_64.cmake" >/dev/null
	@cmake --build "$(WIN)" -j$(JOBS)

asan: bootstrap
	@cmake -S . -B "$(ASAN)" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	  -DQUORVEL_SANITIZE=ON -DQUORVEL_WERROR=$(WERROR) >/dev/null
	@cmake --build "$(ASAN)" -j$(JOBS) --target quorvel_tests

test-native: native
	cd "$(NATIVE)" && $(CTEST) -j$(JOBS)

test-wine: win
	V="$(V)" scripts/wine_tests.sh "$(WIN)"

test: test-native test-wine

# The property tests draw fewer cases here: each runs many times slower.
test-asan: asan
	cd "$(ASAN)" && QUORVEL_PROPERTY_CASES=10000 $(CTEST) -j$(JOBS)

bench: native
	"$(NATIVE)/bin/quorvel_bench"

bench-gui: win
	@cmake --build "$(WIN)" --target bench_gui
	scripts/wine_bench.sh "$(WIN)/bin"

run: win
	scripts/run.sh "$(WIN)/bin"

package: win
	@cmake --build "$(WIN)" --target package_zip

clean:
	rm -rf "$(BUILD)"
