# Entry points: `make run` sets up, builds and starts the program;
# `make test` sets up, builds and runs the whole test suite.
BUILD   ?= build
JOBS    ?= $(shell nproc)
WERROR  ?= $(if $(CI),ON,OFF)
CMAKE_ARGS ?=
# ccache, where installed, makes rebuilds in several checkouts cheap.
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache,)
export LAUNCHER

RELEASE := $(BUILD)/release

.PHONY: setup build run test screenshots fuzz bench package clean

setup:
	@bash scripts/setup.sh

build: setup
	@bash scripts/configure.sh . $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DPELLORY_WERROR=$(WERROR) $(LAUNCHER) $(CMAKE_ARGS) >/dev/null
	@cmake --build $(RELEASE) -j$(JOBS)

run: build
	@bash scripts/run.sh $(RELEASE)

test: build
	@BUILD=$(BUILD) JOBS=$(JOBS) WERROR=$(WERROR) bash scripts/test.sh

screenshots: build
	@bash scripts/screenshots.sh $(RELEASE) $(BUILD)/screenshots

fuzz: setup
	@BUILD=$(BUILD) JOBS=$(JOBS) bash scripts/fuzz.sh build

bench: build
	@bash scripts/bench.sh $(RELEASE)

package: build
	@cmake --build $(RELEASE) --target package

clean:
	rm -rf $(BUILD)
