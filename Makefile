# make run  - installs what is missing, builds quorvel.exe and starts it under Wine
# make test - installs what is missing, builds everything and runs every test
# make package - builds build/quorvel-win64.zip
# make bench - the native benchmarks; make bench-gui - start-up under Wine
BUILD  ?= build
NATIVE := $(BUILD)/native
WIN    := $(BUILD)/win
JOBS   ?= $(shell nproc 2>/dev/null || echo 2)

export WINEPREFIX       := $(abspath $(BUILD))/wineprefix
export WINEDEBUG        := -all
export WINEDLLOVERRIDES := mscoree,mshtml=
export WINEARCH         := win64

.PHONY: all bootstrap native win test test-native test-wine run package bench bench-gui clean

all: native win

bootstrap:
	@scripts/bootstrap.sh

native: bootstrap
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(NATIVE) -j$(JOBS)

win: bootstrap
	@cmake -S . -B $(WIN) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake >/dev/null
	@cmake --build $(WIN) -j$(JOBS)

test-native: native
	cd $(NATIVE) && ctest --output-on-failure

test-wine: win
	scripts/wine_tests.sh $(WIN)

test: test-native test-wine

bench: native
	$(NATIVE)/bin/quorvel_bench

bench-gui: win
	@cmake --build $(WIN) --target bench_gui
	scripts/wine_bench.sh $(WIN)/bin

run: win
	scripts/run.sh $(WIN)/bin

package: win
	@cmake --build $(WIN) --target package_zip

clean:
	rm -rf $(BUILD)
